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
failed=0
summary=()
for target in "${chosen[@]}"; do
    work="$build/fuzz-work/$target"
    artifacts="$build/fuzz-artifacts/$target/"
    log="$build/fuzz-work/$target.log"
    mkdir -p "$work" "$artifacts"
    # libFuzzer ends without running exit handlers: scratch files go where this script clears them.
    export TMPDIR="$build/fuzz-tmp"
    rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
    # A hard stop well after libFuzzer's own end, in case the process itself wedges.
    timeout --signal=KILL $((seconds + 120)) "$build/bin/fuzz_$target" "$work" "$root/fuzz/corpus/$target" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$artifacts" >"$log" 2>&1
    rc=$?
    rm -rf "$TMPDIR"
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | awk '{print $2}')
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
    if [ $rc -ne 0 ]; then
        failed=1
        what=$(grep -m1 -oE 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer): [a-z-]+[^ ]*|runtime error: .*|==[0-9]+== ERROR: .*' "$log" || true)
        summary+=("$(printf '%-16s FAILED (exit %d) after %s executions: %s' "$target" "$rc" "${runs:-?}" "${what:-see log}")")
        grep -E 'Test unit written to|ERROR|runtime error|#[0-9]+ 0x' "$log" | head -30
        echo "full log: $log"
    else
        summary+=("$(printf '%-16s ok  %10s executions in %ss, coverage %s edges' "$target" "${runs:-?}" "$seconds" "${cov:-?}")")
    fi
done

echo "== fuzz summary =="
printf '%s\n' "${summary[@]}"
exit $failed
