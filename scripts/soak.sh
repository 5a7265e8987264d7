#!/usr/bin/env bash
# Fault soak: four tasks run at once, each its own `kavo-cli run` process on one shared database (as four
# cards of the desktop program share one), against soak_server, the fixture marketplace injecting 500s,
# 429s with Retry-After, connection resets, truncated bodies, slow drips, garbage pages and redirect loops.
#   scripts/soak.sh MINUTES      (environment: KAVO_BUILD=build folder, SOAK_FAULT_RATE=0.15, SOAK_SEED,
#                                 KAVO_KEEP_DIR=1 keeps the program folder)
# A task that ends before the time is up (a garbage listing page reads as the end of the results) is
# started again, as a user would. At the end every run is stopped with Ctrl-C and the store is checked.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVO_BUILD:-$root/build}
[ $# -eq 1 ] && [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ] || { echo "usage: $0 MINUTES" >&2; exit 2; }
minutes=$1

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
cmake --build "$build" --target kavo-cli soak_server >"$build/soak-build.log" 2>&1 || {
    tail -30 "$build/soak-build.log"; echo "soak.sh: the build failed" >&2; exit 1; }
cli=$build/bin/kavo-cli

dir=$(mktemp -d /tmp/kavo-soak.XXXXXX)
seed=${SOAK_SEED:-$RANDOM}
"$build/bin/soak_server" --dir "$dir" --seed "$seed" --fault-rate "${SOAK_FAULT_RATE:-0.15}" >"$dir/server.out" 2>&1 &
server=$!
cleanup() { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$dir/soak.port" ] && break; sleep 0.1; done
[ -s "$dir/soak.port" ] || { cat "$dir/server.out"; echo "soak.sh: soak_server did not start" >&2; exit 1; }

ids=()
for keyword in 五金工具 "spare parts" 服装 "led 灯"; do
    ids+=("$("$cli" --dir "$dir" add "$keyword")") || exit 1
done

deadline=$(($(date +%s) + minutes * 60))
# One task: run, and run again while time is left; every exit status goes to a file of its own.
drive() {
    local id=$1 left rc
    while left=$((deadline - $(date +%s))); [ "$left" -gt 0 ]; do
        "$cli" --dir "$dir" run "$id" >>"$dir/run-$id.out" 2>>"$dir/run-$id.err" &
        run=$!
        # Exactly one Ctrl-C at the end (timeout(1) would also signal the whole group: a second Ctrl-C,
        # which aborts); a run that will not stop within a minute is killed and counts as a failure.
        (
            trap 'kill $nap 2>/dev/null; exit 0' TERM
            sleep "$left" & nap=$!; wait $nap
            kill -INT "$run" 2>/dev/null
            sleep 60 & nap=$!; wait $nap
            kill -KILL "$run" 2>/dev/null
        ) &
        watcher=$!
        wait "$run"
        rc=$?
        kill "$watcher" 2>/dev/null
        wait "$watcher" 2>/dev/null
        echo "$rc" >>"$dir/run-$id.rc"
        [ "$rc" -eq 0 ] || break
        sleep 0.5
    done
}
echo "soak: 4 tasks (${ids[*]}) for $minutes min against soak_server (seed $seed) in $dir"
drivers=()
for id in "${ids[@]}"; do drive "$id" & drivers+=($!); done
wait "${drivers[@]}"
kill -INT "$server"; wait "$server"; served=$?; trap - EXIT
tail -1 "$dir/server.out"

crashed=0; runs=0
for id in "${ids[@]}"; do
    while read -r rc; do
        runs=$((runs + 1))
        if [ "$rc" -ne 0 ]; then
            crashed=$((crashed + 1))
            echo "FAIL: task $id: kavo-cli run exited with status $rc"; tail -5 "$dir/run-$id.err"
        fi
    done <"$dir/run-$id.rc"
done
echo "runs: $runs kavo-cli runs, $crashed ended abnormally"
grep -h "^task " "$dir"/run-*.out | tail -4

python3 "$root/scripts/check-store.py" "$dir" soak
status=$?
[ $crashed -eq 0 ] || status=1
[ $served -eq 0 ] || { echo "FAIL: soak_server exited with status $served"; status=1; }
echo "== soak $([ $status -eq 0 ] && echo passed || echo FAILED) (folder: $dir) =="
# A passed soak leaves nothing behind unless KAVO_KEEP_DIR=1; a failed one keeps its folder to look at.
[ $status -ne 0 ] || [ "${KAVO_KEEP_DIR:-0}" = 1 ] || rm -rf "$dir"
exit $status
