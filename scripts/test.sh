#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: in the normal build
# and in the sanitizer build (build-sanitize/), whose fuzz targets then run for a minute
# each. Every stage that can run runs and prints its time; the end names the stages that
# failed, and the exit status is 1 when any did.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

failed=()
# stage <name> <command...>: runs one stage, prints its time and keeps its name on failure.
stage() {
    local name=$1 start=$SECONDS
    shift
    if "$@"; then
        echo "== $name: $((SECONDS - start)) s"
    else
        echo "== $name: FAILED after $((SECONDS - start)) s"
        failed+=("$name")
        return 1
    fi
}
not_run=()
# cannot_run <name...>: the stages that cannot run because the build they need failed.
cannot_run() {
    local name
    for name in "$@"; do
        echo "== $name: not run, its build failed"
        not_run+=("$name")
    done
}

# Runs the suite of one build folder and says why each skipped test did not run.
suite() {
    local status=0
    cd "$root/$1" || return
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"${QUIRELLE_JOBS:-$(nproc)}" \
        --timeout 300 || status=$?
    awk '/^\[ RUN      \]/ { name = $4 } /: Skipped$/ { getline; print "skipped " name ": " $0 }' \
        Testing/Temporary/LastTest.log
    return $status
}

bash "$root/scripts/setup.sh" || exit
# A runtime folder of the tests' own, as Qt wants one.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
if stage "normal build" bash "$root/scripts/build.sh"; then
    stage "tests" suite build
else
    cannot_run "tests"
fi
if stage "sanitizer build" bash "$root/scripts/build-sanitize.sh"; then
    stage "tests under the sanitizers" suite build-sanitize
    stage "fuzzing" bash "$root/fuzz/run.sh"
else
    cannot_run "tests under the sanitizers" "fuzzing"
fi

if [ ${#failed[@]} -gt 0 ]; then
    printf '== failed: %s\n' "${failed[@]}"
    [ ${#not_run[@]} -eq 0 ] || printf '== not run: %s\n' "${not_run[@]}"
    exit 1
fi
echo "== every stage passed"
