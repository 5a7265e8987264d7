#!/usr/bin/env bash
# Crash safety: `kavo-cli run` is killed with SIGKILL at a random moment N times. After each kill the
# database must pass integrity_check with every record whole and none twice; each next run resumes the
# task, and a last run must take it to the end of its results with every company stored exactly once.
#   scripts/killtest.sh N        (environment: KAVO_BUILD=build folder, KILLTEST_PAGES, KAVO_KEEP_DIR=1)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVO_BUILD:-$root/build}
[ $# -eq 1 ] && [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ] || { echo "usage: $0 N" >&2; exit 2; }
kills=$1
pages=${KILLTEST_PAGES:-$((kills * 4 + 4))}

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
cmake --build "$build" --target kavo-cli soak_server >"$build/killtest-build.log" 2>&1 || {
    tail -30 "$build/killtest-build.log"; echo "killtest.sh: the build failed" >&2; exit 1; }
cli=$build/bin/kavo-cli

dir=$(mktemp -d /tmp/kavo-killtest.XXXXXX)
# No faults, a little delay per answer so that a run lasts long enough to be killed in the middle.
"$build/bin/soak_server" --dir "$dir" --fault-rate 0 --pages "$pages" --delay-ms 8 >"$dir/server.out" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$dir/soak.port" ] && break; sleep 0.1; done
[ -s "$dir/soak.port" ] || { cat "$dir/server.out"; echo "killtest.sh: soak_server did not start" >&2; exit 1; }
id=$("$cli" --dir "$dir" add 五金工具) || exit 1

rows() { python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute("select count(*) from tbl_list").fetchone()[0])' "$dir/data/user.db"; }
survived=0; failed=0; early=0
echo "killtest: $kills kills of kavo-cli run, task $id over $pages result pages ($((pages * 30)) companies), in $dir"
for i in $(seq "$kills"); do
    "$cli" --dir "$dir" run "$id" >"$dir/run-$i.out" 2>&1 &
    run=$!
    # 0.3 .. 2.5 s: at start-up, between records, in the middle of a write.
    sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.2f", 0.3 + 2.2 * r / 32767 }')"
    if ! kill -0 "$run" 2>/dev/null; then
        # Not a fault of the program, but no kill either: raise KILLTEST_PAGES if it happens often.
        echo "kill $i: skipped, the run had already ended"; early=$((early + 1)); wait "$run"; continue
    fi
    kill -KILL "$run"; wait "$run" 2>/dev/null
    if python3 "$root/scripts/check-store.py" "$dir" kill >"$dir/check-$i.out"; then
        survived=$((survived + 1)); verdict=ok
    else
        failed=1; verdict=FAILED
    fi
    echo "kill $i: $verdict, $(rows) records stored"
    [ $verdict = ok ] || grep -E "FAIL|MISMATCH" "$dir/check-$i.out"
done

# The last run resumes and must reach the end of the results.
timeout --signal=INT --kill-after=30 120 "$cli" --dir "$dir" run "$id" >"$dir/run-last.out" 2>&1
rc=$?
cat "$dir/run-last.out"
python3 "$root/scripts/check-store.py" "$dir" kill >"$dir/check-last.out" || failed=1
total=$(rows)
if [ $rc -ne 0 ] || ! grep -q "results exhausted" "$dir/run-last.out"; then
    echo "FAIL: the last run did not end with its results exhausted (status $rc)"; failed=1
fi
if [ "$total" -ne $((pages * 30)) ]; then
    echo "FAIL: $total records at the end, the marketplace lists $((pages * 30)) companies"; failed=1
fi
grep -E "^(records|FAIL)|MISMATCH" "$dir/check-last.out"
[ $early -eq 0 ] || echo "$early runs ended before their kill"
[ $survived -gt 0 ] || failed=1
echo "== killtest: $survived of $((kills - early)) kills survived, $total of $((pages * 30)) companies stored once each: $([ $failed -eq 0 ] && echo passed || echo FAILED) =="
# A passed run leaves nothing behind unless KAVO_KEEP_DIR=1; a failed one keeps its folder to look at.
[ $failed -ne 0 ] || [ "${KAVO_KEEP_DIR:-0}" = 1 ] || rm -rf "$dir"
exit $failed
