#!/usr/bin/env bash
# Configures and builds quirelle into build/ (ccache speeds up rebuilds when present), with
# $QUIRELLE_JOBS jobs at once (all cores by default):  scripts/build.sh [TARGET...]
# (everything, tests included, by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"${QUIRELLE_JOBS:-$(nproc)}" ${1:+--target} "$@"
