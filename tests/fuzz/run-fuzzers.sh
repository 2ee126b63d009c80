#!/bin/bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   tests/fuzz/run-fuzzers.sh [SECONDS_EACH] [TARGET...]   (default: 60 seconds, every target)
# New inputs go to build/fuzz/corpus/<target>, never into the committed seeds; a crash or a
# broken property leaves its input in build/fuzz/findings/<target> and fails the run.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
seconds=${1:-${KELVARO_FUZZ_SECONDS:-60}}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(settings message_catalogue active_time_log history history_statistics break_ideas break_history
        po_file plural_forms use_history)
fi

cd "$repo"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build="$repo/build/fuzz"
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    log="$build/fuzz-$target.log"
    echo "Fuzzing $target for $seconds s"
    # The first folder takes the new inputs; the committed seeds are only read.
    if "$build/tests/fuzz/fuzz_$target" "$corpus" "$repo/tests/fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
        grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "$log" | tail -2
    else
        status=1
        tail -40 "$log"
        echo "fuzz_$target failed; its input is in $findings"
    fi
done
exit $status
