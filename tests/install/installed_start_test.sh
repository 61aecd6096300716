#!/usr/bin/env bash
# Starts the installed program the way the desktop menu does - the command
# line of its desktop entry, from a scratch home folder, in a start
# directory of its own - and checks that its fileblocks land in the per-user
# data directory ($XDG_DATA_HOME/kontura, else ~/.local/share/kontura) and
# none in the start directory, and that the first start built the prefix
# database there from hamradio-files. KONTURA_QUIT_WHEN_SHOWN makes the
# program close its main window as soon as it is up.
#
# Usage: installed_start_test.sh BUILD_DIR
# Exit 77 (skipped) without hamradio-files: the program would then stop at
# its warning about the missing prefix file.

set -u
build="$1"
status=0
cty=/usr/share/hamradio-files/cty.csv
if [ ! -f "$cty" ]; then
  echo "SKIP: $cty missing (Debian package hamradio-files)"
  exit 77
fi
. "$(dirname "$0")/install_tree.sh"
install_tree "$build"

exec_line=$(sed -n 's/^Exec=//p' "$DESKTOP_FILE" | sed 's/ %[fFuUick]//g')
[ -n "$exec_line" ] || { echo "FAIL: no Exec line"; exit 1; }

# XDG_DATA_HOME value (empty: unset) | where the fileblocks must land
cases=(
  "|home/.local/share/kontura"
  "xdg|xdg/kontura"
)
for case in "${cases[@]}"; do
  xdg="${case%%|*}"
  expected="$DEST/${case#*|}"
  rm -rf "$DEST/home" "$DEST/start" "$DEST/xdg"
  mkdir -p "$DEST/home" "$DEST/start"
  (
    cd "$DEST/start" || exit 1
    unset KONTURA_DATA XDG_DATA_HOME
    [ -n "$xdg" ] && export XDG_DATA_HOME="$DEST/$xdg"
    HOME="$DEST/home" PATH="$PREFIX/bin:$PATH" QT_QPA_PLATFORM=offscreen KONTURA_QUIT_WHEN_SHOWN=1 \
      timeout 120 sh -c "$exec_line"
  )
  rc=$?
  label="XDG_DATA_HOME=${xdg:-unset}"
  [ $rc -eq 0 ] || fail "$label: the program ended with $rc"
  for f in FHSETUP FHSETUP2 FHPRO FHKK FHPREFIX FHPREFEE; do
    [ -f "$expected/$f.DAT" ] && [ -f "$expected/$f.IX" ] || fail "$label: $f not in ${expected#$DEST/}"
  done
  left=$(ls -A "$DEST/start")
  [ -z "$left" ] || fail "$label: files in the start directory: $left"
  entity=$(cd "$expected" && "$PREFIX/bin/kontura-tool" dxcc DL1ABC | cut -f1)
  [ "$entity" = "DL" ] || fail "$label: prefix database not built (dxcc DL1ABC gave '$entity')"
done

[ $status -eq 0 ] && echo "menu start works in the data directory"
exit $status
