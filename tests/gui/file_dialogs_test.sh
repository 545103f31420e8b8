#!/usr/bin/env bash
# The file dialogs of the real window with names typed at human speed (150 ms a key) and chosen
# with the mouse, and the sound across open dialogs and boxes:
# - File > Open takes a typed relative name;
# - while the song plays and records, the Import Wave dialog (typed into, a folder opened with a
#   double click, then cancelled) and the Help box stay open for a while, and every chunk that SDL's
#   disk driver played equals humbrook-render's chunk, none lost or repeated;
# - File > Save Recorded Wave takes a typed relative name without extension (take.wav);
# - File > Save As takes a typed absolute path without extension (saved.zwv);
# - File > Import Wave takes a file chosen by clicking in the list, which File > Save As then shows.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" file_dialogs_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: file_dialogs_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$(dirname "$0")/window_test_setup.sh"

# Waits up to 10 s until no visible window's title matches $1.
wait_for_no_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Waits up to 10 s for the file $1.
wait_for_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Chooses an item of the File menu by its place: 2 Open, 4 Save, 5 Save As, 6 Save Recorded Wave,
# 7 Export Song, 8 Import Wave (items are 20.5 pixels apart, Open at 58); then waits for the
# dialog titled $2.
# On a busy machine a click can reach the menu before it is shown: then Escape closes the menu
# and the choice is made again.
file_menu_dialog() {
  for _ in 1 2 3; do
    xdotool mousemove --window "$wid" 20 12 click 1
    sleep 0.5
    xdotool mousemove --window "$wid" 40 $((58 + ($1 - 2) * 41 / 2)) click 1
    if dialog=$(wait_for_window "$2" 50); then
      sleep 0.3
      return 0
    fi
    xdotool key Escape
    sleep 0.5
  done
  fail "File menu item $1 did not show the dialog '$2'"
}

# Waits until the dialog titled $1 has closed.
dialog_closed() {
  wait_for_no_window "$1" || fail "the dialog '$1' stayed open"
  sleep 0.3
}

# Replaces the name field's text with $1, typed at human speed, and presses Enter.
type_name() {
  xdotool key ctrl+a
  xdotool type --delay 150 "$1"
  xdotool key Return
}

# The dialog's file list: line $1 (1 is "../") at 18.5 pixels a line from 55, window-relative.
list_line_y() {
  echo $((55 + ($1 - 1) * 37 / 2))
}

# A song with notes on all four instruments (a chunk of 18900 bytes at 70 BPM), and a folder
# with a sound file to import.
chunk_bytes=18900
cp "$here/chunk_song.zwv" "$work/song.zwv"
mkdir "$work/pick"
"$build/humbrook-render" "$work/song.zwv" -o "$work/pick/tone.wav" -n 2 >/dev/null ||
  fail "humbrook-render could not render the sound to import"
"$build/humbrook-render" "$work/song.zwv" -o "$work/offline.wav" -n 160 >/dev/null ||
  fail "humbrook-render could not render the test song"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/played.raw"
start_humbrook

# A typed relative name opens the song.
file_menu_dialog 2 '^Open$'
type_name song.zwv
dialog_closed '^Open$'
wait_for_window "song\.zwv" >/dev/null || fail "File > Open of a typed name did not open it"

# Enter plays, L records from the next measure end. The Import Wave dialog stays open while a
# name is typed and a folder is opened with a double click, then Escape cancels it.
xdotool key --window "$wid" Return
xdotool key --window "$wid" l
file_menu_dialog 8 '^Open$'
xdotool key ctrl+a
xdotool type --delay 150 nothing
xdotool mousemove --window "$dialog" 60 "$(list_line_y 2)" click --repeat 2 --delay 100 1
sleep 1
xdotool key Escape
dialog_closed '^Open$'

# The Help box stays open for a while, then its OK button's key closes it. The menu's title popup
# also carries the name "Help" for a moment, so the key is sent until no such window is left.
xdotool mousemove --window "$wid" 230 12 click 1
sleep 0.3
xdotool mousemove --window "$wid" 230 35 click 1
wait_for_window '^Help$' >/dev/null || fail "the Help box did not open"
sleep 1.5
for _ in $(seq 50); do
  box=$(xdotool search --onlyvisible --name '^Help$' 2>/dev/null | tail -1 || true)
  [ -z "$box" ] && break
  xdotool key --window "$box" Return 2>/dev/null || true
  sleep 0.1
done
wait_for_no_window '^Help$' || fail "the Help box did not close"

# Save Recorded Wave stops playback and takes a typed relative name without extension.
sleep 2
file_menu_dialog 6 '^Save As$'
type_name take
dialog_closed '^Save As$'
wait_for_file "$work/take.wav" || fail "Save Recorded Wave did not write take.wav"
[ "$(head -c 4 "$work/take.wav")" = RIFF ] || fail "take.wav is no WAV file"

# Save As takes a typed absolute path without extension.
file_menu_dialog 5 '^Save As$'
type_name "$work/saved"
dialog_closed '^Save As$'
wait_for_file "$work/saved.zwv" || fail "File > Save As of a typed path did not write saved.zwv"
wait_for_window "saved\.zwv" >/dev/null || fail "the title does not show the saved song"
grep -q '^SoundFileVals' "$work/saved.zwv" && fail "saved.zwv holds an imported sound already"

# Import Wave of a file chosen by clicking: a double click opens the folder pick/, a click
# puts tone.wav (below "../") into the name field, the Open button takes it.
file_menu_dialog 8 '^Open$'
xdotool mousemove --window "$dialog" 60 "$(list_line_y 2)" click --repeat 2 --delay 100 1
sleep 0.5
xdotool mousemove --window "$dialog" 60 "$(list_line_y 2)" click 1
sleep 0.3
xdotool mousemove --window "$dialog" 350 354 click 1
dialog_closed '^Open$'
file_menu_dialog 5 '^Save As$'
type_name after
dialog_closed '^Save As$'
wait_for_file "$work/after.zwv" || fail "File > Save As of a typed name did not write after.zwv"
grep -q '^SoundFileVals' "$work/after.zwv" || fail "the clicked sound file was not imported"

exit_from_file_menu 100
python3 "$here/compare_played_chunks.py" "$work/played.raw" "$work/offline.wav" "$chunk_bytes" 20
echo "file dialogs test passed"
