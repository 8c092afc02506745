# Sourced by the fuzzing scripts. fuzz_targets FOLDER [TARGET...]: the targets named, one a line,
# or, with none named, every target built in FOLDER (its *_fuzzer programs).
fuzz_targets() {
    local folder=$1 program
    shift
    if [ $# -gt 0 ]; then
        printf '%s\n' "$@"
        return
    fi
    for program in "$folder"/*_fuzzer; do
        program=$(basename "$program")
        echo "${program%_fuzzer}"
    done
}
