#!/usr/bin/env bash
# Runs libFuzzer targets against kavo's core for a while each.
#   scripts/fuzz.sh TARGET SECONDS   TARGET: patterns, decode_body, config_document, unpack_archive or all
# Builds build-fuzz with clang (ASan + UBSan + coverage) when needed. Starts from the seed corpus in
# fuzz/corpus/TARGET (never written to); what the fuzzer learns goes to build-fuzz/fuzz-work/TARGET.
# Exits non-zero when any target finds a crash, a leak, a hang (-timeout) or runs out of memory.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVO_FUZZ_BUILD:-$root/build-fuzz}
targets=(patterns decode_body config_document unpack_archive)

usage() {
    echo "usage: $0 {${targets[*]// /|}|all} SECONDS" >&2
    exit 2
}
[ $# -eq 2 ] || usage
[[ $2 =~ ^[0-9]+$ ]] && [ "$2" -gt 0 ] || usage
seconds=$2
if [ "$1" = all ]; then
    chosen=("${targets[@]}")
else
    [[ " ${targets[*]} " == *" $1 "* ]] || usage
    chosen=("$1")
fi

cc=$(command -v clang-14 || command -v clang) || { echo "fuzz.sh: clang is not installed" >&2; exit 2; }
cxx=$(command -v clang++-14 || command -v clang++) || { echo "fuzz.sh: clang++ is not installed" >&2; exit 2; }
if ! grep -q '^KAVO_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" \
        -DKAVO_FUZZ=ON -DKAVO_BUILD_UI=OFF -DKAVO_BUILD_BENCH=OFF >/dev/null || exit 1
fi
cmake --build "$build" --target "${chosen[@]/#/fuzz_}" -- -j"${JOBS:-$(nproc)}" >"$build/fuzz-build.log" 2>&1 || {
    tail -40 "$build/fuzz-build.log"
    echo "fuzz.sh: the build failed (log: $build/fuzz-build.log)" >&2
    exit 1
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Runs one target; its summary line goes to "$build/fuzz-work/$target.summary", and it fails with the target.
run_target() {
    local target=$1
    local work="$build/fuzz-work/$target"
    local artifacts="$build/fuzz-artifacts/$target/"
    local log="$build/fuzz-work/$target.log"
    local summary="$build/fuzz-work/$target.summary"
    mkdir -p "$work" "$artifacts"
    rm -f "$summary"
    # libFuzzer ends without running exit handlers: scratch files go where this script clears them.
    local scratch="$build/fuzz-tmp/$target"
    rm -rf "$scratch" && mkdir -p "$scratch"
    # A hard stop well after libFuzzer's own end, in case the process itself wedges.
    TMPDIR="$scratch" timeout --signal=KILL $((seconds + 120)) "$build/bin/fuzz_$target" "$work" \
        "$root/fuzz/corpus/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts" >"$log" 2>&1
    local rc=$?
    rm -rf "$scratch"
    local runs cov
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | awk '{print $2}')
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
    if [ $rc -ne 0 ]; then
        local what
        what=$(grep -m1 -oE 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer): [a-z-]+[^ ]*|runtime error: .*|==[0-9]+== ERROR: .*' "$log" || true)
        printf '%-16s FAILED (exit %d) after %s executions: %s\n' "$target" "$rc" "${runs:-?}" "${what:-see log}" >"$summary"
        grep -E 'Test unit written to|ERROR|runtime error|#[0-9]+ 0x' "$log" | head -30
        echo "full log: $log"
        return 1
    fi
    printf '%-16s ok  %10s executions in %ss, coverage %s edges\n' "$target" "${runs:-?}" "$seconds" "${cov:-?}" >"$summary"
}

# FUZZ_JOBS targets run side by side (each takes one core); 1 by default.
jobs=${FUZZ_JOBS:-1}
failed=0
running=0
for target in "${chosen[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done

echo "== fuzz summary =="
for target in "${chosen[@]}"; do
    cat "$build/fuzz-work/$target.summary" 2>/dev/null || echo "$target: no result"
done
exit $failed
