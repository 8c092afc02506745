#!/usr/bin/env bash
# Runs include_order.sh over a small tree of its own, in which app/core/pages includes a header
# of app/core/print (a later topic) in each spelling an include can take, and checks that
# each is refused while the includes the order allows pass.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/tests/source" "$tmp/app/core/pages" "$tmp/app/core/print" "$tmp/app/book"
cp "$(dirname "$0")/include_order.sh" "$tmp/tests/source/"
touch "$tmp/app/core/print/Sheet.h" "$tmp/app/book/BookFile.h" "$tmp/app/core/pages/Own.h"

failures=0
# check <include line in app/core/pages/Count.cpp> <status>
check() {
  printf '%s\n' "$1" >"$tmp/app/core/pages/Count.cpp"
  local got=0
  bash "$tmp/tests/source/include_order.sh" >/dev/null 2>&1 || got=$?
  [ "$got" = "$2" ] || { echo "FAIL '$1': exit status $got instead of $2"; failures=$((failures + 1)); }
}
check '#include "app/book/BookFile.h"' 0
check '#include "Own.h"' 0
check '#include <QString>' 0
check '#include <vector>' 0
check '#include "app/core/print/Sheet.h"' 1
check '#include <app/core/print/Sheet.h>' 1
check '#  include "app/core/print/Sheet.h"' 1
check '  #include <app/core/print/Sheet.h>' 1
check '#include "../print/Sheet.h"' 1
check '#include "app/core/pages/../print/Sheet.h"' 1
check '#include "./../print/Sheet.h" // a comment' 1
check '#include HEADER' 1

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all cases pass"
