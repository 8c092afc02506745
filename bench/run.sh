#!/usr/bin/env bash
# Builds the benchmarks into build-bench/ (optimised as the program is) and runs them all,
# then hashes the same 256 MB file with md5sum for comparison; the start-up benchmark runs
# under Xvfb. Whatever they write in the temporary directory they remove.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIRELLE_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

data="$build/md5-256M.bin"
[ -f "$data" ] || head -c 256M /dev/urandom >"$data"
export QUIRELLE_BENCH_MD5_FILE="$data"
# Qt's runtime folder, and the Xvfb frame buffer of the start-up benchmark.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR="$scratch"

for bench in "$build"/bench/*_bench; do
    [ "$(basename "$bench")" = first_frame_bench ] && continue
    QT_QPA_PLATFORM=offscreen "$bench" "$@"
done

xvfb-run -a -s "-screen 0 1280x1024x24 -fbdir $scratch" \
    "$build/bench/first_frame_bench" "$scratch/Xvfb_screen0" "$@"

echo "md5sum on the same 256 MB file (warm cache):"
md5sum "$data" >/dev/null
time md5sum "$data"
