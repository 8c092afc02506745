#!/usr/bin/env bash
# Fails when a C++ source file of the repository is not formatted as .clang-format says, and
# names the files to run `clang-format -i` on.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t files < <(find app bench controls fuzz platform samples shellext tests \
  -name '*.cpp' -o -name '*.h' | sort)
if ! report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "Not formatted as .clang-format says (clang-format -i <file>):" >&2
  grep -o '^[^:]*\.\(cpp\|h\):' <<<"$report" | sort -u | sed 's/:$//; s/^/  /' >&2
  exit 1
fi
echo "${#files[@]} files formatted"
