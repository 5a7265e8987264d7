#!/usr/bin/env bash
# Saves PNG screenshots of kavo (search tab, history tab with a running card, each dialog) into
# docs/screenshots, running the real window under Xvfb against the loopback fixture marketplace.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build}
out=${1:-$root/docs/screenshots}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target kavo_screenshots
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_CONFIG_HOME="$home/.config" xvfb-run -a -s "-screen 0 1280x800x24" \
    "$build/bin/kavo_screenshots" "$out"
