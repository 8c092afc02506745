#!/usr/bin/env bash
# Runs each fuzz target of build-sanitize/ once over its corpus and seeds, each input cut to
# the target's -max_len as fuzzing cuts it, and prints the slowest input with its time:
#   fuzz/slowest.sh [TARGET...]   (every target by default)
set -euo pipefail
fuzz=$(cd "$(dirname "$0")/.." && pwd)/build-sanitize/fuzz
export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")/.." && pwd)/cmake/LeakSuppressions.txt
. "$(dirname "$0")/targets.sh"
mapfile -t targets < <(fuzz_targets "$fuzz" "$@")
printf '%-20s %8s  %s\n' target "ms" input
for name in "${targets[@]}"; do
    options=()
    [ -f "$fuzz/$name.options" ] && read -ra options <"$fuzz/$name.options"
    find "$fuzz/corpus/$name" "$fuzz/seeds/$name" -type f -print0 2>/dev/null |
        xargs -0 "$fuzz/${name}_fuzzer" "${options[@]}" 2>&1 |
        awk -v name="$name" '/^Executed .* in [0-9]+ ms$/ {
                if ($(NF - 1) + 0 >= slowest) { slowest = $(NF - 1) + 0; input = $2 }
            }
            END { printf "%-20s %8d  %s\n", name, slowest, input }'
done
