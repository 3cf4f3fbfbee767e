#!/usr/bin/env bash
# Starts the built desktop program on its own X server, as a user's script does, copies
# HTML so that it owns the clipboard, quits with Ctrl+Q and requires the script waiting for
# it to see it end within a second: the windows go at once, the process must not linger.
#   quit_process.sh <tintwave>   (exit 77: skipped, no Xvfb or xdotool)
set -euo pipefail
program=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
source "$(dirname "$0")/own_x_session.sh"
own_x_server
start_program "$program"
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
