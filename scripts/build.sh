#!/usr/bin/env bash
# Configures and builds quirelle into build/ (ccache speeds up rebuilds when present), with
# $QUIRELLE_JOBS jobs at once (all cores by default):  scripts/build.sh [TARGET...]
# (everything, tests included, by default). It optimises as a Release build does (-O3), with
# debug information, so that the warnings that only such inlining brings fail here too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O3 -g -DNDEBUG" >/dev/null
cmake --build "$root/build" -j"${QUIRELLE_JOBS:-$(nproc)}" ${1:+--target} "$@"
