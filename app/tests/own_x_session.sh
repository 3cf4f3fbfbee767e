# Sourced by the process tests: the built desktop program on an X server of its own, with
# settings in a temporary folder ($home) that goes when the script ends.
#   own_x_server      starts the server and sets the environment
#   start_program P   starts P, clicks the splash away, focuses the main window ($main)
#                     and types "hi"; $pid is the program

own_x_server() {
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
}

visible() { timeout 60 xdotool search --sync --onlyvisible "$@"; }

start_program() {
  "$1" 2>"$home/stderr" &
  pid=$!
  visible --class tintwave >/dev/null
  xdotool mousemove 640 512 click 1 # the splash goes on a click
  main=$(visible --name '^Tintwave 1.0$')
  xdotool windowfocus --sync "$main"
  xdotool type hi
}
