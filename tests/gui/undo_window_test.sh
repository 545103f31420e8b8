#!/usr/bin/env bash
# Undo and redo in the real window: a note drawn with the mouse marks the title with '*',
# Ctrl+Z takes it back (the mark goes), Ctrl+Y and Ctrl+Shift+Z redo, and File > Exit still ends
# the program with exit code 0.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" undo_window_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: undo_window_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed" >&2; exit 77; }
. "$(dirname "$0")/window_test_setup.sh"

menu_height=25 # at zoom 1, which a 1024 x 768 screen gives

# Waits up to 10 s for the main window's title to match $1; fails with $2 otherwise.
expect_title() {
  for _ in $(seq 100); do
    xdotool getwindowname "$wid" 2>/dev/null | grep -qE "$1" && return 0
    sleep 0.1
  done
  fail "$2 (title: $(xdotool getwindowname "$wid"))"
}

export SDL_AUDIODRIVER=dummy
start_humbrook

# A four-step note on the note pad, drawn with the mouse.
xdotool mousemove --window "$wid" 35 $((130 + menu_height)) mousedown 1
sleep 0.2
xdotool mousemove --window "$wid" 70 $((130 + menu_height))
sleep 0.2
xdotool mousemove --window "$wid" 110 $((130 + menu_height))
sleep 0.2
xdotool mouseup 1
expect_title '^\*Humbrook 1\.0' "drawing a note did not mark the title"

xdotool key --window "$wid" ctrl+z
expect_title '^Humbrook 1\.0' "Ctrl+Z did not take the note back"
xdotool key --window "$wid" ctrl+y
expect_title '^\*Humbrook 1\.0' "Ctrl+Y did not redo the note"
xdotool key --window "$wid" ctrl+z
expect_title '^Humbrook 1\.0' "the second Ctrl+Z did not take the note back"
xdotool key --window "$wid" ctrl+shift+z
expect_title '^\*Humbrook 1\.0' "Ctrl+Shift+Z did not redo the note"

exit_from_file_menu 50
echo "undo in the window: all checks passed"
