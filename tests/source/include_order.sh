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

# One pass over every source file. An include of any spelling ("..." or <...>, spaces around
# the #, ./ and ../ in the path) names a header of ours when the path, taken from the
# including file's folder for "..." and else from the root, is a file of the repository; any
# other is a system header. An include that names no header in quotes or brackets is refused.
awk -v script="$0" '
function normal(path,   parts, kept, n, m, i, out) {
  n = split(path, parts, "/")
  m = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] != "..") kept[++m] = parts[i]
    else if (m > 0) m--
    else return ""
  }
  out = kept[1]
  for (i = 2; i <= m; i++) out = out "/" kept[i]
  return out
}
function folderOf(path) { return sub(/\/[^\/]*$/, "", path) ? path : "." }
function fail(text) { print text > "/dev/stderr"; failures++ }
FILENAME == ARGV[1] { split($0, field, "\t"); allowed[field[1]] = " " field[2] " "; next }
FILENAME == ARGV[2] { present[$0] = 1; next }
FNR == 1 {
  folder = folderOf(FILENAME)
  if (!(folder in allowed) && !(folder in told)) {
    told[folder] = 1
    fail(folder " holds sources but has no place in the order of " script)
  }
}
/^[ \t]*#[ \t]*include/ {
  if (!match($0, /"[^"]*"|<[^>]*>/)) { fail(FILENAME " includes what no path names: " $0); next }
  name = substr($0, RSTART + 1, RLENGTH - 2)
  header = ""
  if (substr($0, RSTART, 1) == "\"" && normal(folder "/" name) in present)
    header = normal(folder "/" name)
  else if (normal(name) in present)
    header = normal(name)
  if (header == "") next
  target = folderOf(header)
  if (target == folder || index(allowed[folder], " " target " ")) next
  list = allowed[folder]
  gsub(/^ +| +$/, "", list)
  fail(FILENAME " includes " name ": " folder " may include only " (list == "" ? "its own headers" : list))
}
END { exit failures > 0 }
' <(for folder in "${!allowed[@]}"; do printf '%s\t%s\n' "$folder" "${allowed[$folder]}"; done) \
  <(find app bench cmake controls fuzz platform samples shellext tests -type f 2>/dev/null) \
  $(find app controls platform shellext \( -name "*.cpp" -o -name "*.h" \) 2>/dev/null | sort)
echo "every include follows the order of the folders"
