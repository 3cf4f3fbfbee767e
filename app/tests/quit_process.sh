#!/usr/bin/env bash
# Starts the built desktop program on its own X server, as a user's script does, copies
# HTML so that it owns the clipboard, quits with Ctrl+Q and requires the script waiting for
# it to see it end within a second: the windows go at once, the process must not linger.
#   quit_process.sh <tintwave>   (exit 77: skipped, no Xvfb or xdotool)
set -euo pipefail
program=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
home=$(mktemp -d)
trap 'kill $server ${pid:-} 2>/dev/null; cat "$home/stderr" 2>/dev/null; rm -rf "$home"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$home/display" 2>/dev/null &
server=$!
for _ in $(seq 400); do [ -s "$home/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -1 "$home/display")" QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME=$home XDG_RUNTIME_DIR=$home
# In the sanitizer build: libxkbcommon-x11 hands strndup a string without a final NUL,
# which strict string checks report in that library.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:strict_string_checks=0"
"$program" 2>"$home/stderr" &
pid=$!
visible() { timeout 60 xdotool search --sync --onlyvisible "$@"; }
visible --class tintwave >/dev/null
xdotool mousemove 640 512 click 1 # the splash goes on a click
xdotool windowfocus --sync "$(visible --name '^Tintwave 1.0$')"
xdotool type hi
# Random Colors, Colorize, Copy HTML; a button's access key clicks it 100 ms on.
for key in alt+n Return alt+c; do
  xdotool key $key
  sleep 0.4
done
start=$(date +%s%N)
xdotool key ctrl+q
for _ in $(seq 1000); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.01
done
elapsed=$((($(date +%s%N) - start) / 1000000))
if kill -0 $pid 2>/dev/null; then
  echo "The program still runs ${elapsed} ms after Ctrl+Q."
  exit 1
fi
wait $pid # fails the script unless the program exits with 0
echo "The program ended ${elapsed} ms after Ctrl+Q."
[ $elapsed -lt 1000 ]
