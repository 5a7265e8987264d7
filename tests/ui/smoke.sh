#!/usr/bin/env bash
# Starts the real desktop program offscreen in a scratch program folder and expects it to be still
# running after a few seconds, with its database created.
set -u
bin="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$bin/kavo" "$dir/" && cp "$bin"/libMsgDlg.so "$dir/" 2>/dev/null
export HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
timeout 4 "$dir/kavo"
rc=$?
if [ "$rc" -ne 124 ]; then
    echo "kavo ended early with status $rc"; cat "$dir/logs.txt" 2>/dev/null; exit 1
fi
[ -f "$dir/data/user.db" ] || { echo "no database created"; exit 1; }
grep -q "first" "$dir/kavo.cfg" || { echo "first-run flag not written"; exit 1; }
[ -f "$HOME/Desktop/kavo.desktop" ] || { echo "no desktop launcher"; exit 1; }
echo "kavo ran offscreen for 4 s"
