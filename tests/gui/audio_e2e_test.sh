#!/usr/bin/env bash
# Real-time sound end to end: the window opens a song through File > Open, Enter plays it for a
# few seconds through SDL's disk driver, File > Exit ends the program, and every chunk the
# device played equals the chunk humbrook-render computes offline for the same song, byte for
# byte (none skipped, repeated or torn). The song has notes on all four instruments and RDMFREQ
# turned up, so the comparison also proves that both programs draw the same random sequence.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" audio_e2e_test.sh BUILD_DIR [PLAY_SECONDS]
# The environment variable HUMBROOK_E2E_KEEP=DIR keeps the files there for a closer look.
set -euo pipefail

build=${1:?usage: audio_e2e_test.sh BUILD_DIR [PLAY_SECONDS]}
build=$(cd "$build" && pwd)
play_seconds=${2:-4}
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool python3 timeout; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config # the settings of this run, never the developer's own
export XDG_STATE_HOME=$work/state   # and its autosaves
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  if [ -n "${HUMBROOK_E2E_KEEP:-}" ]; then
    mkdir -p "$HUMBROOK_E2E_KEEP" && cp -r "$work"/* "$HUMBROOK_E2E_KEEP"/
  fi
  rm -rf "$work"
}
trap cleanup EXIT

. "$here/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to 10 s for a visible window whose title matches $1; prints its id.
wait_for_window() {
  timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# The test song (chunk_song.zwv): at 70 BPM and 22050 Hz one step is 4725 frames, a chunk of
# 18900 bytes. Every instrument plays notes in bank 0 on its own steps and rows, with RDMFREQ
# (knob 5) up.
chunk_bytes=18900
cp "$here/chunk_song.zwv" "$work/song.zwv"

# The offline render: more steps than the window can play in the time it is given.
steps=$((play_seconds * 5 + 30))
"$build/humbrook-render" "$work/song.zwv" -o "$work/offline.wav" -n "$steps" >/dev/null ||
  fail "humbrook-render could not render the test song"
# RDMFREQ must be heard, or equal chunks would not show that both draw the same random numbers.
# (In a folder of its own: the file dialog lists the work folder, where only song.zwv may be.)
mkdir "$work/control"
sed 's/^\(Effect [0-3] 16 \([^ ]* \)\{5\}\)[^ ]*/\10/' "$work/song.zwv" >"$work/control/steady.zwv"
"$build/humbrook-render" "$work/control/steady.zwv" -o "$work/control/steady.wav" -n 8 >/dev/null ||
  fail "humbrook-render could not render the song without RDMFREQ"
cmp -s -i 44 -n $((8 * chunk_bytes)) "$work/control/steady.wav" "$work/offline.wav" &&
  fail "RDMFREQ changes nothing in the test song"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/played.raw"
# Started in the work folder, where the file dialog opens: the song's name alone is typed.
(cd "$work" && exec "$build/humbrook") &
pid=$!
wid=$(wait_for_window '^Humbrook 1\.0') || true
[ -n "$wid" ] || fail "the main window did not appear"
sleep 0.5

# File > Open with the mouse (the second item of the File menu); the dialog takes the name typed
# into its name field and Enter.
xdotool mousemove --window "$wid" 20 12 click 1
sleep 0.3
xdotool mousemove --window "$wid" 40 58 click 1
dialog=$(wait_for_window '^Open$') || true
[ -n "$dialog" ] || fail "File > Open did not show the file dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key ctrl+a
xdotool type --delay 5 song.zwv
xdotool key Return
for _ in $(seq 50); do
  xdotool search --name "song\.zwv" >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name "song\.zwv" >/dev/null 2>&1 || fail "the window title does not show the opened song"
kill -0 "$pid" 2>/dev/null || fail "the program ended while opening the song"

# Enter plays the song for a while; File > Exit with the mouse stops it and ends the program.
xdotool key --window "$wid" Return
sleep "$play_seconds"
exit_from_file_menu 100
[ -s "$work/played.raw" ] || fail "SDL's disk driver wrote nothing"

python3 "$here/compare_played_chunks.py" "$work/played.raw" "$work/offline.wav" "$chunk_bytes" \
  $((play_seconds * 3))
echo "audio end-to-end test passed"
