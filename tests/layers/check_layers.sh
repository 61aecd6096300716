#!/usr/bin/env bash
# Checks the layer order of the source folders: every #include "folder/..."
# must name the including file's own folder or one it may use, and Qt headers
# may appear only in qt/ subfolders (the core library links no Qt). Prints
# every offending line and exits 1 when there is one.
#
# Usage: check_layers.sh SOURCE_DIR

set -u
root="${1:-.}"
cd "$root" || exit 2

# Which folders each folder may include from, besides itself. Lowest layer
# first; a folder may use only folders listed above it.
declare -A allowed=(
  [platform]=""
  [text]="platform"
  [storage]="platform text"
  [ui]="platform text storage"
  [refdata]="platform text storage ui"
  [contest]="platform text storage ui refdata"
  [logging]="platform text storage ui refdata contest"
  [catalogue]="platform text storage ui refdata contest logging"
  [output]="platform text storage ui refdata contest logging catalogue"
  [app]="platform text storage ui refdata contest logging catalogue output"
  [tools]="platform text storage ui refdata contest logging catalogue output app"
)

status=0
report() {
  echo "$1: $2"
  status=1
}

for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r -d '' file; do
    in_qt=0
    case "$file" in */qt/*) in_qt=1 ;; esac
    lineno=0
    while IFS= read -r line; do
      lineno=$((lineno + 1))
      case "$line" in
        '#include "'*)
          target="${line#\#include \"}"
          target="${target%%\"*}"
          target_folder="${target%%/*}"
          [ "$target_folder" = "$target" ] && continue  # no folder: a local header
          if [ "$target_folder" != "$folder" ] && [[ " ${allowed[$folder]} " != *" $target_folder "* ]]; then
            if [ -n "${allowed[$target_folder]+x}" ]; then
              report "$file:$lineno" "$folder may not include $target ($target_folder is not below $folder)"
            fi
          fi
          if [ $in_qt -eq 0 ] && [[ "$target" == */qt/* ]]; then
            report "$file:$lineno" "toolkit-free code includes the Qt view $target"
          fi
          ;;
        '#include <Q'* | '#include <qt'*)
          [ $in_qt -eq 0 ] && report "$file:$lineno" "Qt header outside a qt/ folder: ${line#\#include }"
          ;;
      esac
    done < "$file"
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done

if [ $status -eq 0 ]; then
  echo "layer order: OK"
fi
exit $status
