#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) and runs each for SECONDS (default 30), one after another:
# first the inputs that once failed (fuzz/regressions/<target>/), then libFuzzer on a working copy
# of the seeds (fuzz/corpus/<target>/, which stays as committed). Fails when any target fails.
#   scripts/fuzz.sh [SECONDS]        FUZZ_TARGETS="fuzz_lines fuzz_profile" picks some targets,
#                                    FUZZ_FLAGS="-runs=10000000" adds libFuzzer options
# Inputs that fail are kept in build-fuzz/findings/<target>/; the grown corpora stay in
# build-fuzz/corpus/<target>/, so a later run goes on from them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
"$root/scripts/install-deps.sh"

build="$root/build-fuzz"
cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ > "$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
targets="${FUZZ_TARGETS:-$(cd "$build" && ls fuzz_* | grep -v '\.' | sort)}"
failed=()
for t in $targets; do
    exe="$build/$t"
    regressions="$root/fuzz/regressions/$t"
    if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
        echo "== $t: replaying $(ls "$regressions" | wc -l) regression inputs"
        "$exe" "$regressions"/* > "$build/$t.regressions.log" 2>&1 \
            || { tail -n 40 "$build/$t.regressions.log"; failed+=("$t (regression)"); continue; }
    fi
    work="$build/corpus/$t" findings="$build/findings/$t"
    mkdir -p "$work" "$findings"
    cp -n "$root/fuzz/corpus/$t"/* "$work"/ 2>/dev/null || true
    echo "== $t: fuzzing for ${seconds}s"
    if "$exe" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" -print_final_stats=1 ${FUZZ_FLAGS:-} > "$build/$t.log" 2>&1; then
        grep -E "stat::number_of_executed_units|stat::average_exec_per_sec" "$build/$t.log" | tr '\n' ' '
        echo
    else
        tail -n 60 "$build/$t.log"
        echo "== $t FAILED: the input is in $findings/"
        failed+=("$t")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}"
    exit 1
fi
echo "Fuzzing: every target ran ${seconds}s without a finding."
