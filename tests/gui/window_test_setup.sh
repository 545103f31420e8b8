# Sourced by the window tests: a scratch folder ($work), the settings and autosaves of the run in
# a folder of their own (never the developer's, and out of the file dialogs' way), the cleanup
# that ends the program under test ($pid) and removes both, File > Exit, fail, and the steps
# most tests take: start_humbrook, wait_for_window and open_song_from_file_menu.
work=$(mktemp -d)
private=$(mktemp -d)
export XDG_CONFIG_HOME=$private/config XDG_STATE_HOME=$private/state
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  rm -rf "$work" "$private"
}
trap cleanup EXIT

. "$(dirname "${BASH_SOURCE[0]}")/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts the windowed program in $work (in the environment the caller exported) and waits up to
# 30 s for its main window: sets `pid` and `wid`. What the program prints on standard error
# goes to $work/stderr.txt, shown when the window never comes.
start_humbrook() {
  (cd "$work" && exec "$build/humbrook" 2>>"$work/stderr.txt") &
  pid=$!
  wid=$(wait_for_window '^Humbrook 1\.0' 300) ||
    { cat "$work/stderr.txt" >&2; fail "the main window did not appear"; }
  sleep 0.5
}

# Waits up to $2 tenths of a second (default 100) for a shown window whose title matches the
# pattern $1 and prints its id (the newest of several); returns 1 when none appears.
wait_for_window() {
  local id
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# File > Open with the mouse (the second item of the File menu, $wid the main window), the name
# $1 typed into the dialog with $2 milliseconds between keys (default 150); waits until the
# window title ends with that name.
open_song_from_file_menu() {
  xdotool mousemove --window "$wid" 20 12 click 1
  sleep 0.5
  xdotool mousemove --window "$wid" 40 58 click 1
  wait_for_window '^Open$' >/dev/null || fail "File > Open did not show the file dialog"
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay "${2:-150}" "$1"
  xdotool key Return
  wait_for_window "${1//./\\.}\$" >/dev/null || fail "the window title does not show the opened song $1"
}
