#!/usr/bin/env bash
# Builds the fuzz targets of the sanitizer build and runs them, each for a bounded time,
# several at once:  fuzz/run.sh [-t SECONDS] [-j TARGETS_AT_ONCE] [TARGET...]
# Defaults: 60 s per target, 4 targets at once, every target; a target's own libFuzzer
# options come from build-sanitize/fuzz/<target>.options. Fails when a target finds a crash,
# a leak, an input that runs over 10 s or one that needs more than 1 GiB; the input is kept in
# build-sanitize/fuzz/artifacts/<target>/. Each target bounds its inputs so that its slowest
# takes well under a second on a quiet machine (fuzz/slowest.sh names it), which leaves room
# on a loaded one; a planted endless loop, run beside the targets, must be stopped by the
# limit. The corpus grows from run to run in build-sanitize/fuzz/corpus/<target>/; the logs
# are in build-sanitize/fuzz/logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=60
at_once=4
limit=10
while getopts "t:j:" option; do
    case $option in
    t) seconds=$OPTARG ;;
    j) at_once=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))

bash "$root/scripts/build-sanitize.sh" fuzzers
fuzz="$root/build-sanitize/fuzz"
. "$root/fuzz/targets.sh"
mapfile -t targets < <(fuzz_targets "$fuzz" "$@")

export LSAN_OPTIONS=suppressions=$root/cmake/LeakSuppressions.txt UBSAN_OPTIONS=print_stacktrace=1
# run_target TARGET [RUN]: fuzzes TARGET; its log and artifacts are named RUN (the target's
# name by default).
run_target() {
    local name=$1 run=${2:-$1}
    mkdir -p "$fuzz/corpus/$name" "$fuzz/artifacts/$run" "$fuzz/logs"
    local dictionary=() options=()
    [ -f "$fuzz/$name.dict" ] && dictionary=("-dict=$fuzz/$name.dict")
    [ -f "$fuzz/$name.options" ] && read -ra options <"$fuzz/$name.options"
    QUIRELLE_FUZZ_PEAK_INPUT="$fuzz/artifacts/$run/peak-input" "${bound[@]}" \
        "$fuzz/${name}_fuzzer" -max_total_time="$seconds" -timeout="$limit" \
        -rss_limit_mb=1024 -malloc_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="$fuzz/artifacts/$run/" "${dictionary[@]}" "${options[@]}" \
        "$fuzz/corpus/$name" "$fuzz/seeds/$name" >"$fuzz/logs/$run.log" 2>&1
}

# What a run of a target is started under: nothing, but for the planted endless loop a bound
# of its own, in case the time limit stops nothing.
bound=()
# Succeeds when an endless loop in a target is stopped as an input over the time limit.
planted_hang() {
    local bound=(timeout $((3 * limit)))
    ! QUIRELLE_FUZZ_HANG=1 run_target find_bytes planted-hang &&
        grep -q "ERROR: libFuzzer: timeout after" "$fuzz/logs/planted-hang.log"
}

planted_hang &
hang_pid=$!
declare -A pids
for name in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$at_once" ]; do
        wait -n || true
    done
    run_target "$name" &
    pids[$name]=$!
done

# The last value libFuzzer printed for a statistic ("stat::name: value" or "name: value").
value() { grep -Eo "$1:? *[0-9]+" "$2" | tail -1 | grep -Eo '[0-9]+$' || echo -; }

failed=0
row='%-16s %6s %12s %6s %6s %7s %9s %15s\n'
printf "$row" target result executions cov ft corpus "rss (MB)" "input heap (B)"
for name in "${targets[@]}"; do
    result=ok
    wait "${pids[$name]}" || result=FAILED
    log="$fuzz/logs/$name.log"
    printf "$row" "$name" "$result" "$(value stat::number_of_executed_units "$log")" \
        "$(value cov "$log")" "$(value ft "$log")" "$(value corp "$log")" \
        "$(value stat::peak_rss_mb "$log")" "$(value 'peak heap of one input' "$log")"
    if [ $result != ok ]; then
        failed=1
        echo "---- $log" >&2
        sed -n '/==ERROR\|ERROR: libFuzzer\|runtime error\|quirelle: fault/,$p' "$log" |
            head -60 >&2
    fi
done
if wait "$hang_pid"; then
    printf "$row" planted-hang stopped - - - - - -
else
    failed=1
    printf "$row" planted-hang FAILED - - - - - -
    echo "A planted endless loop was not stopped: see $fuzz/logs/planted-hang.log" >&2
fi
exit $failed
