#!/usr/bin/env bash
# The text box with a real paste under X: a million characters of words, emoji with skin
# tones, flags and Arabic go to the clipboard with xclip and into the window with xdotool's
# Ctrl+V. Measures the built program from outside (processor share while the caret blinks,
# before and after Colorize, peak memory, time to quit) and then tintwave-bench-window
# --idle --wait-paste from inside (Colorize, keystrokes at the end, closing).
#
#   bench_window_paste.sh <tintwave> <tintwave-bench-window> [chars]
#
# Runs on $DISPLAY when set (a window manager should run there), else on its own Xvfb.
set -euo pipefail
program=$1
bench=$2
chars=${3:-1000000}
for tool in xdotool xclip python3; do
  command -v $tool >/dev/null || { echo "needs $tool"; exit 2; }
done

work=$(mktemp -d)
cleanup() {
  [ -n "${clip:-}" ] && kill $clip 2>/dev/null
  [ -n "${xvfb:-}" ] && kill $xvfb 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:87
  Xvfb $DISPLAY -screen 0 1280x1024x24 -nolisten tcp &
  xvfb=$!
  sleep 1
fi
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LANG=C
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

python3 - "$chars" >"$work/text" <<'EOF'
import sys
n = int(sys.argv[1])
pattern = "Grüße, quick brown fox 👋🏽 مرحبا بالعالم 🇩🇪 jumps over 👍🏿 🇯🇵 السلام عليكم. "
units = pattern.encode("utf-16-le")
text = (units * (2 * n // len(units) + 1))[: 2 * n].decode("utf-16-le", errors="replace")
sys.stdout.write(text.replace("\ufffd", "x"))
EOF

ticks() { awk '{print $14 + $15}' /proc/$1/stat; }
hz=$(getconf CLK_TCK)
# Waits until the process has been idle for a second (at most a tick per quarter second:
# the caret's blinking takes about that); prints the time waited.
settle() {
  local pid=$1 start last now quiet=0
  start=$(date +%s%N)
  last=$(ticks $pid)
  while [ $quiet -lt 4 ]; do
    sleep 0.25
    now=$(ticks $pid)
    if [ $((now - last)) -le 1 ]; then quiet=$((quiet + 1)); else quiet=0; fi
    last=$now
  done
  echo $((($(date +%s%N) - start) / 1000000 - 1000))
}
# The processor share over ten seconds, in percent of one core.
share() {
  local before after
  before=$(ticks $1)
  sleep 10
  after=$(ticks $1)
  echo "scale=1; ($after - $before) * 100 / $hz / 10" | bc
}
paste_into() {
  local wid=$1
  [ -n "${clip:-}" ] && kill $clip 2>/dev/null
  # In the foreground (-quiet), so that it is this script's child and goes with it.
  xclip -quiet -selection clipboard -i "$work/text" >/dev/null 2>&1 </dev/null &
  clip=$!
  sleep 0.5
  xdotool windowactivate --sync $wid 2>/dev/null || xdotool windowfocus --sync $wid
  sleep 0.5
  xdotool key --window $wid ctrl+v
}

echo "== the program, $chars characters pasted"
"$program" &
pid=$!
xdotool search --sync --onlyvisible --class tintwave >/dev/null
xdotool mousemove 640 512 click 1 # the splash goes on a click
wid=$(xdotool search --sync --onlyvisible --name '^Tintwave 1.0$')
wid=${wid%%$'\n'*}
settle $pid >/dev/null
paste_into $wid
echo "paste settled after $(settle $pid) ms"
echo "idle, caret in the text box: $(share $pid)% of a core"
# Random Colors by its access key, a click back into the text box (at its place in the
# window), End, and Enter colorizes.
xdotool key --window $wid alt+n
sleep 0.3
xdotool mousemove --window $wid 180 122 click 1
sleep 0.3
xdotool key --window $wid End
settle $pid >/dev/null
xdotool key --window $wid Return
echo "Colorize settled after $(settle $pid) ms"
echo "idle after Colorize: $(share $pid)% of a core"
xdotool key --window $wid End
settle $pid >/dev/null
before=$(ticks $pid)
xdotool key --window $wid x
settle $pid >/dev/null
echo "one keystroke at the end: $((($(ticks $pid) - before) * 1000 / hz)) ms of processor time"
echo "peak $(awk '/VmHWM/ {print int($2 / 1024)}' /proc/$pid/status) MB"
start=$(date +%s%N)
xdotool key ctrl+q
xdotool keyup ctrl q # the window is gone before the key's release
while kill -0 $pid 2>/dev/null; do sleep 0.01; done
echo "quit after $((($(date +%s%N) - start) / 1000000)) ms"

echo "== tintwave-bench-window --idle --wait-paste $chars"
QT_QPA_PLATFORM=xcb "$bench" --idle --wait-paste "$chars" &
bpid=$!
wid=$(xdotool search --sync --onlyvisible --name '^Tintwave 1.0$')
wid=${wid%%$'\n'*}
sleep 1
paste_into $wid
wait $bpid
xdotool keyup ctrl v
