#!/usr/bin/env bash
# Runs scripts/test.sh against stand-ins for the set-up, the two builds, ctest and the fuzzing,
# each failing or not as the case says, and checks which stages ran, what the end said and
# the exit status.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

root=$tmp/root
mkdir -p "$root/scripts" "$root/fuzz" "$root/build/Testing/Temporary" \
    "$root/build-sanitize/Testing/Temporary" "$tmp/bin"
cp "$(dirname "$0")/../../scripts/test.sh" "$root/scripts/"
: >"$root/build/Testing/Temporary/LastTest.log"
: >"$root/build-sanitize/Testing/Temporary/LastTest.log"

# stand_in <file> <name>: records that it ran, and fails when $FAIL names it.
stand_in() {
    printf '#!/usr/bin/env bash\necho %s >>"$STUB_LOG"\n[[ " $FAIL " != *" %s "* ]]\n' "$2" "$2" >"$1"
    chmod +x "$1"
}
stand_in "$root/scripts/setup.sh" setup
stand_in "$root/scripts/build.sh" build
stand_in "$root/scripts/build-sanitize.sh" build-sanitize
stand_in "$root/fuzz/run.sh" fuzz
# ctest names the suite by the folder it runs in.
printf '#!/usr/bin/env bash\nname=ctest-${PWD##*/}\necho $name >>"$STUB_LOG"\n[[ " $FAIL " != *" $name "* ]]\n' \
    >"$tmp/bin/ctest"
chmod +x "$tmp/bin/ctest"

failures=0
# check <failing stand-ins> <status> <stand-ins run> <last line said>
check() {
    local fail=$1 status=$2 ran=$3 said=$4 out got=0 log
    : >"$tmp/log"
    out=$(FAIL=$fail STUB_LOG=$tmp/log PATH=$tmp/bin:$PATH bash "$root/scripts/test.sh" 2>&1) ||
        got=$?
    log=$(tr '\n' ' ' <"$tmp/log")
    [ "$got" = "$status" ] || { echo "FAIL '$fail': exit status $got instead of $status"; failures=$((failures + 1)); }
    [ "${log% }" = "$ran" ] || { echo "FAIL '$fail': ran '${log% }' instead of '$ran'"; failures=$((failures + 1)); }
    [[ $out == *"$said" ]] || { echo "FAIL '$fail': said '$out' without '$said' at its end"; failures=$((failures + 1)); }
}

all="setup build ctest-build build-sanitize ctest-build-sanitize fuzz"
check "" 0 "$all" "== every stage passed"
check "ctest-build" 1 "$all" "== failed: tests"
check "ctest-build fuzz" 1 "$all" "== failed: tests
== failed: fuzzing"
check "ctest-build-sanitize" 1 "$all" "== failed: tests under the sanitizers"
check "build" 1 "setup build build-sanitize ctest-build-sanitize fuzz" "== failed: normal build
== not run: tests"
check "build-sanitize" 1 "setup build ctest-build build-sanitize" "== failed: sanitizer build
== not run: tests under the sanitizers
== not run: fuzzing"
check "setup" 1 "setup" ""

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all cases pass"
