#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks what a desktop and a
# package manager read from it: every file in its place, the desktop entry
# (desktop-file-validate), the AppStream metainfo (appstreamcli validate),
# and the manual page of kontura-tool, which must describe every command
# that "kontura-tool help" lists and render without warnings.
#
# Usage: check_install.sh BUILD_DIR

set -u
build="$1"
status=0
. "$(dirname "$0")/install_tree.sh"
install_tree "$build"

for f in bin/kontura bin/kontura-tool \
         share/kontura/kontura-hilfe.html \
         share/applications/de.kontura.Kontura.desktop \
         share/icons/hicolor/scalable/apps/de.kontura.Kontura.svg \
         share/metainfo/de.kontura.Kontura.metainfo.xml \
         share/man/man1/kontura.1.gz share/man/man1/kontura-tool.1.gz; do
  [ -s "$PREFIX/$f" ] || fail "not installed: $f"
done
for f in bin/kontura bin/kontura-tool; do
  [ -x "$PREFIX/$f" ] || fail "not executable: $f"
done

desktop-file-validate "$DESKTOP_FILE" || fail "desktop-file-validate"
appstreamcli validate --no-net "$METAINFO_FILE" || fail "appstreamcli validate"

# The menu entry: under ham radio, named and explained in German and
# English, and started in the per-user data directory.
for line in '^Exec=kontura --data-home$' '^Categories=.*HamRadio;' '^Name=' '^Name\[de\]=' \
            '^Comment=' '^Comment\[de\]=' '^Icon=de.kontura.Kontura$'; do
  grep -q "$line" "$DESKTOP_FILE" || fail "desktop entry lacks $line"
done
for tag in '<summary>' '<description>' '<screenshot ' '<content_rating ' '<project_license>' \
           '<launchable type="desktop-id">de.kontura.Kontura.desktop<'; do
  grep -q "$tag" "$METAINFO_FILE" || fail "metainfo lacks $tag"
done

# Every command of the tool has its entry in the manual page.
page=$(gzip -dc "$PREFIX/share/man/man1/kontura-tool.1.gz")
commands=$("$PREFIX/bin/kontura-tool" help | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$commands" ] || fail "kontura-tool help lists no commands"
for c in $commands; do
  printf '%s\n' "$page" | grep -Eq "^\.(B|BI) \"?$c( |\"|$)" || fail "manual page lacks the command $c"
done

# The pages render without a warning (groff -k reads their UTF-8).
if command -v groff >/dev/null; then
  for p in kontura kontura-tool; do
    warnings=$(gzip -dc "$PREFIX/share/man/man1/$p.1.gz" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$p.1: $warnings"
  done
fi

[ $status -eq 0 ] && echo "installation complete and valid"
exit $status
