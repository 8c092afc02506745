#!/usr/bin/env bash
# Configures and builds the sanitizer build into build-sanitize/: everything compiled by clang
# with AddressSanitizer and UndefinedBehaviorSanitizer, plus the fuzz targets of fuzz/, with
# $QUIRELLE_JOBS jobs at once (all cores by default):  scripts/build-sanitize.sh [TARGET...]
# (everything by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_BASEDIR="$root"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-sanitize" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRELLE_FUZZ=ON >/dev/null
cmake --build "$root/build-sanitize" -j"${QUIRELLE_JOBS:-$(nproc)}" ${1:+--target} "$@"
