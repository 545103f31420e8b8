#!/usr/bin/env bash
# Never losing work, in the real window:
# - a song opened from a file gets a note drawn, autosave writes it, `kill -9` ends the program;
#   the next start offers it, Recover opens it and Ctrl+S writes it to its own file, which then
#   equals what humbrook-render makes of the same song and clicks;
# - a never-saved song the same way, saved by Ctrl+S through the Save As dialog;
# - after drawing, File > Exit asks "Save changes to ...?" and Cancel keeps the program running;
# - `kill -TERM` ends it within a second with exit code 0, its modified song autosaved; the next
#   start offers it again, and Discard removes it;
# - File > Open Recent opens the newest song, and Ctrl+G runs no G (the song stays unmodified).
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" save_and_recover_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: save_and_recover_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed" >&2; exit 77; }
. "$(dirname "$0")/window_test_setup.sh"

autosaves=$XDG_STATE_HOME/humbrook/autosave
mkdir -p "$XDG_CONFIG_HOME/humbrook"
echo "autosave-seconds 5" >"$XDG_CONFIG_HOME/humbrook/settings"
export SDL_AUDIODRIVER=dummy

# Waits up to 15 s for a file matching the pattern $1.
wait_for_files() {
  for _ in $(seq 150); do
    compgen -G "$1" >/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Waits up to $1 tenths of a second for the program to end; fails when it does not.
wait_for_end() {
  for _ in $(seq "$1"); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the program did not end"
}

# Waits up to 10 s for the question box (titled "Humbrook"), then sends it the key $1 until it
# has closed (a box just mapped may not take the first key). Fails with $2 when no box appears.
answer_question() {
  local box
  box=$(wait_for_window '^Humbrook$') || fail "$2"
  for _ in $(seq 50); do
    xdotool key --window "$box" "$1" 2>/dev/null || true
    sleep 0.2
    box=$(xdotool search --onlyvisible --name '^Humbrook$' 2>/dev/null | tail -1 || true)
    [ -z "$box" ] && return 0
  done
  fail "the question box did not close"
}

# Draws a note with a click in the note pad: step column $1, note row $2 (the client area starts
# 25 pixels below the window's top at zoom 1).
draw_note() {
  xdotool mousemove --window "$wid" $((35 + 25 * $1)) $((226 - 8 * $2 + 25)) click 1
  sleep 0.3
}

# What humbrook-render makes of the song $1 (none: a new song) with the same two notes, saved to $2.
expected_song() {
  local song=$1 out=$2
  printf 'down 35 210\nup 35 210\ndown 85 186\nup 85 186\nsave %s\n' "$out" |
    "$build/humbrook-render" ${song:+"$song"} --script - >/dev/null ||
    fail "humbrook-render could not make the expected song"
}

# Draws, waits for the autosave, kills the program without warning; then a new start offers the
# song and Enter chooses Recover.
draw_autosave_kill_recover() {
  start_humbrook
  [ -n "${1:-}" ] && {
    xdotool key --window "$wid" ctrl+o
    local dialog
    dialog=$(wait_for_window '^Open$') || fail "Ctrl+O showed no Open dialog"
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 150 "$1"
    xdotool key Return
    wait_for_window "$1" >/dev/null || fail "the song $1 was not opened"
  }
  draw_note 0 2
  draw_note 2 5
  wait_for_files "$autosaves/*/song.zwv" || fail "no autosave was written"
  sleep 0.5
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  start_humbrook
  answer_question Return "the autosave was not offered at start"
  sleep 0.3
}

# 1. A song from a file: recovered, Ctrl+S writes its own file without a dialog.
cp "$here/chunk_song.zwv" "$work/song.zwv"
expected_song "$work/song.zwv" "$work/expected_file.zwv"
draw_autosave_kill_recover song.zwv
wait_for_window 'song\.zwv' >/dev/null || fail "the recovered song's title does not name its file"
xdotool key --window "$wid" ctrl+s
sleep 1
cmp -s "$work/song.zwv" "$work/expected_file.zwv" ||
  fail "the recovered song saved to its file differs from the song before the kill"
ls "$autosaves"/*/song.zwv >/dev/null 2>&1 && { ls -laR "$autosaves" >&2; fail "the autosave stayed after a successful save"; }
exit_from_file_menu 50

# 2. A song never saved: Ctrl+S asks for a path like Save As.
expected_song "" "$work/expected_new.zwv"
draw_autosave_kill_recover ""
xdotool key --window "$wid" ctrl+s
wait_for_window '^Save As$' >/dev/null || fail "Ctrl+S on a never-saved song showed no Save As dialog"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 150 "$work/recovered"
xdotool key Return
sleep 1
cmp -s "$work/recovered.zwv" "$work/expected_new.zwv" ||
  fail "the recovered new song differs from the song before the kill"

# 3. Drawn, then File > Exit: the question comes, Cancel (Escape) keeps the program running.
draw_note 4 7
xdotool mousemove --window "$wid" 20 12 click 1
sleep 0.3
xdotool mousemove --window "$wid" 40 202 click 1
answer_question Escape "File > Exit of a modified song asked nothing"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "Cancel did not keep the program running"

# 4. kill -TERM ends it within a second, exit code 0, the modified song autosaved.
kill -TERM "$pid"
wait_for_end 10
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "exit code $status after SIGTERM"
ls "$autosaves"/*/song.zwv >/dev/null 2>&1 || fail "SIGTERM left no autosave of the modified song"

# The next start offers it; Discard removes it.
start_humbrook
answer_question d "the song autosaved on SIGTERM was not offered"
sleep 0.3
ls "$autosaves"/*/song.zwv >/dev/null 2>&1 && fail "Discard left the autosave"

# 5. File > Open Recent by its keys (Alt+F, R, 1) opens the newest recent song. Ctrl+G is no G
# (the waveform generator): the song stays unmodified, so File > Exit asks nothing.
xdotool key --window "$wid" alt+f
sleep 0.5
xdotool key r
sleep 0.5
xdotool key 1
wait_for_window 'recovered\.zwv' >/dev/null || fail "File > Open Recent did not open the newest song"
xdotool key --window "$wid" ctrl+g
sleep 0.3
xdotool mousemove --window "$wid" 20 12 click 1
sleep 0.3
xdotool mousemove --window "$wid" 40 202 click 1
wait_for_end 50
wait "$pid" || fail "File > Exit of an unmodified song did not end the program cleanly"
pid=
echo "save and recover: OK"
