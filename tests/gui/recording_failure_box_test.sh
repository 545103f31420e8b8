#!/usr/bin/env bash
# A message box that the pump itself raises keeps the sound fed: with no usable folder for the
# temporary recording file, L arms a recording, the measure end shows "Couldn't Create Temp File"
# while the song plays on, the box stays open for two seconds, and every chunk that SDL's disk
# driver played equals humbrook-render's chunk, none lost or repeated.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" recording_failure_box_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: recording_failure_box_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$(dirname "$0")/window_test_setup.sh"

# The windows whose title is exactly $1 (FLTK's boxes have an empty one), counted.
count_windows() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l || true
}

chunk_bytes=18900
cp "$here/chunk_song.zwv" "$work/song.zwv"
"$build/humbrook-render" "$work/song.zwv" -o "$work/offline.wav" -n 80 >/dev/null ||
  fail "humbrook-render could not render the test song"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/played.raw"
# TMPDIR names a plain file, in which no folder for the recording can be made.
: >"$work/not a folder"
(cd "$work" && TMPDIR="$work/not a folder" exec "$build/humbrook") &
pid=$!
wid=$(timeout 10 xdotool search --sync --onlyvisible --name '^Humbrook 1\.0' 2>/dev/null | head -1) ||
  true
[ -n "$wid" ] || fail "the main window did not appear"
sleep 0.5

# File > Open of the song (its name typed), Enter plays, L arms the recording.
open_song_from_file_menu song.zwv
windows_before=$(count_windows '^$')
xdotool key --window "$wid" Return
xdotool key --window "$wid" l

# The measure ends 16 steps (3.4 s) after the start: the box appears, stays two seconds, then
# its OK button's key closes it.
shown=no
for _ in $(seq 100); do
  if [ "$(count_windows '^$')" -gt "$windows_before" ]; then shown=yes; break; fi
  sleep 0.1
done
[ "$shown" = yes ] || fail "no message box appeared at the measure end"
sleep 2
box=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | tail -1 || true)
xdotool key --window "$box" Return 2>/dev/null || true
sleep 1
xdotool key --window "$wid" Return
sleep 0.5
exit_from_file_menu 100

python3 "$here/compare_played_chunks.py" "$work/played.raw" "$work/offline.wav" "$chunk_bytes" 20
echo "recording failure box test passed"
