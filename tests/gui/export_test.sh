#!/usr/bin/env bash
# File > Export Song from the menu while the song plays: the dialog, the Save dialog and the
# progress box, all at human speed. Every chunk that SDL's disk driver played meanwhile equals
# humbrook-render's (none lost while the export renders), the exported file equals
# humbrook-render -o's byte for byte, and a second export cancelled in its progress box leaves no
# file. The song draws random numbers (RDMFREQ), so the equal file also shows that the export
# starts the random sequence where the song's opening left it, not where playing has taken it.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" export_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: export_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool python3 timeout; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$here/window_test_setup.sh"

# Waits up to $2 tenths of a second until no window titled $1 is shown.
wait_until_gone() {
  for _ in $(seq "$2"); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# File > Export Song (the seventh item), "Steps:" set to $1, then the file name $2 in the Save
# dialog; the progress box shows.
export_song() {
  local dialog
  xdotool mousemove --window "$wid" 20 12 click 1
  sleep 0.5
  xdotool mousemove --window "$wid" 40 160 click 1
  dialog=$(wait_for_window '^Export Song$' 100) || fail "File > Export Song showed no dialog"
  sleep 0.3
  xdotool mousemove --window "$dialog" 120 117 click 1 # Steps:
  sleep 0.2
  xdotool mousemove --window "$dialog" 230 117 click 1 # the field beside it
  xdotool key ctrl+a
  xdotool type --delay 150 "$1"
  xdotool key Return
  wait_for_window '^Save As$' 100 >/dev/null || fail "the Export Song dialog showed no Save dialog"
  sleep 0.3
  xdotool key ctrl+a
  xdotool type --delay 150 "$2"
  xdotool key Return
  progress=$(wait_for_window '^Exporting$' 100) || fail "no progress box for $2"
}

chunk_bytes=18900 # one step of the song at 70 BPM and 22050 Hz
export_steps=6000
cp "$here/chunk_song.zwv" "$work/song.zwv"
"$build/humbrook-render" "$work/song.zwv" -o "$work/offline.wav" -n 300 >/dev/null ||
  fail "humbrook-render could not render the test song"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/played.raw"
start_humbrook

# File > Open of the song (its name typed), Enter plays.
open_song_from_file_menu song.zwv
xdotool key --window "$wid" Return
sleep 1

# The export runs to its end while the song plays.
export_song "$export_steps" exported.wav
wait_until_gone '^Exporting$' 600 || fail "the export did not finish within a minute"
[ -s "$work/exported.wav" ] || fail "the export wrote no file"

# A long export, cancelled: the box closes and nothing is left.
export_song 1000000 cancelled.wav
sleep 0.5
xdotool mousemove --window "$progress" 300 74 click 1 # Cancel
wait_until_gone '^Exporting$' 20 || fail "Cancel did not end the export"
leftovers=$(cd "$work" && ls -A | grep cancelled || true)
[ -z "$leftovers" ] || fail "a cancelled export left $leftovers"

sleep 1
exit_from_file_menu 100
python3 "$here/compare_played_chunks.py" "$work/played.raw" "$work/offline.wav" "$chunk_bytes" 20
"$build/humbrook-render" "$work/song.zwv" -o "$work/rendered.wav" -n "$export_steps" >/dev/null ||
  fail "humbrook-render could not render the export's length"
cmp -s "$work/exported.wav" "$work/rendered.wav" || fail "the exported file differs from -o's"
echo "export test passed"
