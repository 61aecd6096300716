# Two commands for a newcomer on Debian 12:
#   make run   - install what is missing, build a release build, start the program in its data directory
#   make test  - install what is missing, build a debug build with sanitizers, run every test
# and one for handing the program on:
#   make deb   - build the Debian package build/deb/kontura_*.deb
#
# make run starts the program as the desktop menu does (--data-home:
# $XDG_DATA_HOME/kontura, else ~/.local/share/kontura); KONTURA_DATA=DIR
# chooses another data directory.

JOBS         ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build, the tests and the program need.
PACKAGES := cmake make g++ pkg-config \
            qt6-base-dev qt6-base-dev-tools libgl-dev \
            libgtest-dev libgmock-dev libsqlite3-dev \
            fonts-liberation2 hamradio-files poppler-utils \
            desktop-file-utils appstream \
            libhamlib-dev libhamlib-utils

# What make deb needs besides: dpkg-shlibdeps finds the libraries the
# package depends on.
DEB_PACKAGES := dpkg-dev file

.PHONY: all run test deps release debug clean bench deb

all: release

deps:
	@missing=""; \
	for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	  $$SUDO apt-get update && \
	  $$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS)

debug: deps
	cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug -DKONTURA_SANITIZE=ON
	cmake --build build/debug -j $(JOBS)

# The program creates its data directory and, on the first start, builds
# the prefix database there from hamradio-files.
run: release
	"$(CURDIR)/build/release/kontura" $(if $(KONTURA_DATA),--data "$(KONTURA_DATA)",--data-home)

test: debug
	cd build/debug && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The storage benchmark against SQLite (a release build; prints a table).
bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DKONTURA_SANITIZE=OFF -DKONTURA_GUI=OFF
	cmake --build build/bench -j $(JOBS) --target storage_bench
	build/bench/storage_bench build/bench/data

# The package is built from a release build of its own with the install
# prefix /usr; only the installed programs are built, not the tests.
deb: EXTRA_PACKAGES := $(DEB_PACKAGES)
deb: deps
	cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build build/deb -j $(JOBS) --target kontura kontura-tool kontura-man
	cd build/deb && cpack -G DEB
	@ls build/deb/kontura_*.deb

clean:
	rm -rf build
