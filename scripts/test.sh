#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: in the normal build
# and in the sanitizer build (build-sanitize/), whose fuzz targets then run for a minute
# each. Every part prints its time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

timed() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

# Runs the suite of one build folder and says why each skipped test did not run.
suite() {
    cd "$root/$1"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${QUIRELLE_JOBS:-$(nproc)}" --timeout 300
    awk '/^\[ RUN      \]/ { name = $4 } /: Skipped$/ { getline; print "skipped " name ": " $0 }' \
        Testing/Temporary/LastTest.log
}

bash "$root/scripts/setup.sh"
# A runtime folder of the tests' own, as Qt wants one.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
timed "normal build" bash "$root/scripts/build.sh"
timed "tests" suite build
timed "sanitizer build" bash "$root/scripts/build-sanitize.sh"
timed "tests under the sanitizers" suite build-sanitize
timed "fuzzing" bash "$root/fuzz/run.sh"
