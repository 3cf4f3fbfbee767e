#!/usr/bin/env bash
# Starts the built desktop program on its own X server with a settings folder it cannot
# create ($XDG_CONFIG_HOME/tintwave is a plain file), adds scheme "S1", which cannot be
# stored, then chooses the last entry of the Schemes menu. That entry must be a preset
# submenu (Return opens it, Escape leaves it), never a phantom "S1" that empties the ten
# slots: Colorize and Copy HTML then still put colour codes on the clipboard.
#   phantom_scheme_process.sh <tintwave>   (exit 77: skipped, no Xvfb, xdotool or xclip)
set -euo pipefail
program=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xclip >/dev/null ||
  exit 77
source "$(dirname "$0")/own_x_session.sh"
own_x_server
touch "$home/tintwave"
start_program "$program"
# One key at a time: a menu or dialog takes a moment to open on a loaded machine.
keys() { for key; do xdotool key "$key"; sleep 0.5; done; }
fail() { echo "$*"; exit 1; }
# Waits up to 5 s for at least $1 of the program's windows to show.
windows() {
  for _ in $(seq 50); do
    [ "$(xdotool search --onlyvisible --class tintwave | wc -l)" -ge "$1" ] && return
    sleep 0.1
  done
  return 1
}
keys alt+n alt+s a # Random Colors, Add Scheme
windows 2 || fail "Add Scheme shows no name prompt."
xdotool type S1
keys Return
windows 2 || fail "Adding a scheme that cannot be stored shows no message."
keys Return
xdotool windowfocus --sync "$main" # no window manager gives the focus back
# Up from the first entry goes to the last (a menu ignores End). It must be a preset
# submenu, whose window then shows beside the Schemes menu and the main window; choosing
# a phantom "S1" would close the menu instead.
keys alt+s Up Return
windows 3 || fail "The last Schemes entry opens no submenu: the unstored scheme is listed."
keys Escape Escape Escape
xdotool windowfocus --sync "$main"
keys Return alt+c # Colorize, Copy HTML
html=$(timeout 10 xclip -o -selection clipboard || true) # empty: nothing copied
[[ $html == *'<font color="#'* ]] ||
  fail "After choosing the last Schemes entry the copied HTML holds no colour: ${html:0:200}"
echo "The copied HTML still holds colours."
