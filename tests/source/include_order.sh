#!/usr/bin/env bash
# Fails when a file of the program or the shell library includes a header against the order of
# the folders: each folder includes only its own headers and those of the folders listed for
# it below, so that no two folders include each other.
set -euo pipefail
cd "$(dirname "$0")/../.."

base="app/text platform app/book app/jpeg"
# The topics of the logic, in order: each includes only the topics before it.
topics="seams files pages description render print creation tools program"

declare -A allowed=(
  [app/text]=""
  [platform]="app/text"
  [app/book]="app/text"
  [app/jpeg]="app/text"
  [controls]=""
  [shellext]="$base"
  [shellext/host]="platform shellext"
)
earlier=""
for topic in $topics; do
  allowed[app/core/$topic]="$base$earlier"
  earlier+=" app/core/$topic"
done
core=$earlier
allowed[app/widgets]="$base$core controls"
allowed[app/adapters]="$base$core"
allowed[app]="$base$core controls app/widgets app/adapters"

failures=0
# Every folder of sources has its place in the order.
while read -r folder; do
  if [ -z "${allowed[$folder]+listed}" ]; then
    echo "$folder holds sources but has no place in the order of $0" >&2
    failures=$((failures + 1))
  fi
done < <(find app controls platform shellext \( -name '*.cpp' -o -name '*.h' \) -printf '%h\n' | sort -u)
for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.cpp "$folder"/*.h; do
    [ -e "$file" ] || continue
    while read -r header; do
      target=$(dirname "$header")
      [ "$target" = "$folder" ] && continue
      case " ${allowed[$folder]} " in
        *" $target "*) ;;
        *) echo "$file includes $header: $folder may include only ${allowed[$folder]:-its own headers}" >&2
           failures=$((failures + 1)) ;;
      esac
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done
[ "$failures" -eq 0 ] || exit 1
echo "every include follows the order of the folders"
