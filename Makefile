# Two commands for a newcomer on Debian 12:
#   make run   - install what is missing, build a release build, start the program in its data directory
#   make test  - install what is missing, build a debug build with sanitizers, run every test
#
# KONTURA_DATA overrides the data directory (default ~/.local/share/kontura).

KONTURA_DATA ?= $(HOME)/.local/share/kontura
JOBS         ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build, the tests and the program need.
PACKAGES := cmake make g++ pkg-config \
            qt6-base-dev qt6-base-dev-tools libgl-dev \
            libgtest-dev libgmock-dev libsqlite3-dev \
            fonts-liberation2 hamradio-files poppler-utils

.PHONY: all run test deps release debug clean bench

all: release

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
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

run: release
	mkdir -p "$(KONTURA_DATA)"
	"$(CURDIR)/build/release/kontura-tool" prefixdb --if-empty /usr/share/hamradio-files/cty.csv "$(KONTURA_DATA)"
	cd "$(KONTURA_DATA)" && "$(CURDIR)/build/release/kontura"

test: debug
	cd build/debug && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The storage benchmark against SQLite (a release build; prints a table).
bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DKONTURA_SANITIZE=OFF -DKONTURA_GUI=OFF
	cmake --build build/bench -j $(JOBS) --target storage_bench
	build/bench/storage_bench build/bench/data

clean:
	rm -rf build
