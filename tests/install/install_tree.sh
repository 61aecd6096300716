# Sourced by the installation tests: installs a build into a fresh DESTDIR
# tree with the prefix of the Debian package and names the installed files.
#
#   install_tree BUILD_DIR      sets DEST (the tree, removed on exit) and
#                               PREFIX ($DEST/usr)

fail() {
  echo "FAIL: $*"
  status=1
}

install_tree() {
  DEST=$(mktemp -d /tmp/kontura-install-XXXXXX)
  trap 'rm -rf "$DEST"' EXIT
  PREFIX="$DEST/usr"
  if ! DESTDIR="$DEST" cmake --install "$1" --prefix /usr >"$DEST.log" 2>&1; then
    cat "$DEST.log"
    rm -f "$DEST.log"
    echo "FAIL: cmake --install"
    exit 1
  fi
  rm -f "$DEST.log"
  DESKTOP_FILE="$PREFIX/share/applications/de.kontura.Kontura.desktop"
  METAINFO_FILE="$PREFIX/share/metainfo/de.kontura.Kontura.metainfo.xml"
}
