#!/usr/bin/env bash
# Smoke test of the real window in a virtual X server: the first frame equals the headless
# renderer's screenshot pixel for pixel, and so does the window after File > Open of an example
# song with the renderer's screenshot of that song; Enter plays and stops, the Help box opens and
# closes, and File > Exit chosen with the mouse ends the program with exit code 0.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" window_smoke_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: window_smoke_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
for tool in xdotool xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$(dirname "$0")/window_test_setup.sh"

client_width=828
client_height=573

# Writes the client area of the main window (below the menu bar) to $1.
grab_client_area() {
  local height menu_height
  height=$(xwininfo -id "$wid" | awk '/Height:/ {print $2}')
  menu_height=$((height - client_height))
  import -window "$wid" -crop "${client_width}x${client_height}+0+${menu_height}" +repage "$1"
}

# Number of pixels in which two images differ.
differing_pixels() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

# The state at start-up as the headless renderer draws it, and after opening an example song.
# The program starts in a folder that holds only the song, where the file dialog opens.
"$build/humbrook-render" --screenshot "$work/expected.png" >/dev/null
song=bright_morning.zwv
mkdir "$work/songs"
cp "$examples/$song" "$work/songs/"
"$build/humbrook-render" "$examples/$song" --screenshot "$work/expected_song.png" >/dev/null

export SDL_AUDIODRIVER=dummy
(cd "$work/songs" && exec "$build/humbrook") &
pid=$!
wid=$(wait_for_window '^Humbrook 1\.0') || fail "the main window did not appear"

read -r width height < <(xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
[ "$width" -eq "$client_width" ] || fail "window width $width"
[ "$height" -gt "$client_height" ] || fail "window height $height leaves no room for the menu"

# Waits up to 5 s for the client area to equal the picture $1; fails with $2 otherwise.
expect_client_area() {
  local diff=unknown
  for _ in $(seq 50); do
    grab_client_area "$work/window.png"
    diff=$(differing_pixels "$work/window.png" "$1")
    [ "$diff" = 0 ] && return 0
    sleep 0.1
  done
  fail "$2 in $diff pixels"
}

# The first frame: drawn asynchronously, so give it a moment to arrive.
expect_client_area "$work/expected.png" "client area differs from the renderer's screenshot"

# File > Open with the mouse (the second item of the File menu), the song's name typed into the
# dialog; then the pointer leaves the window, so that the help line shows no panel's help.
open_song_from_file_menu "$song" 5
xdotool mousemove 1010 760
expect_client_area "$work/expected_song.png" \
  "after File > Open the client area differs from the renderer's screenshot of the song"

# Enter starts playback (the play panel changes), Enter again stops it.
# The play, stop and record panel: 46 x 154 at (368, 411) of the client area.
crop_play_panel() {
  local height
  height=$(xwininfo -id "$wid" | awk '/Height:/ {print $2}')
  import -window "$wid" -crop "46x154+368+$((411 + height - client_height))" +repage "$1"
}
crop_play_panel "$work/stopped.png"
xdotool key --window "$wid" Return
changed=no
for _ in $(seq 30); do
  crop_play_panel "$work/playing.png"
  if [ "$(differing_pixels "$work/playing.png" "$work/stopped.png")" != 0 ]; then changed=yes; break; fi
  sleep 0.1
done
[ "$changed" = yes ] || fail "Enter did not start playback"
xdotool key --window "$wid" Return
changed=no
for _ in $(seq 30); do
  crop_play_panel "$work/again.png"
  if [ "$(differing_pixels "$work/again.png" "$work/stopped.png")" = 0 ]; then changed=yes; break; fi
  sleep 0.1
done
[ "$changed" = yes ] || fail "the second Enter did not stop playback"

# Help > Help with the mouse (the fifth menu, after View); the box closes with its OK button's key. The menu's title popup
# also carries the name "Help" for a moment, so the key is sent until no such window is left.
xdotool mousemove --window "$wid" 230 12 click 1
sleep 0.3
xdotool mousemove --window "$wid" 230 35 click 1
wait_for_window '^Help$' >/dev/null || fail "the Help box did not open"
sleep 0.3
closed=no
for _ in $(seq 50); do
  box=$(xdotool search --onlyvisible --name '^Help$' 2>/dev/null | tail -1 || true)
  if [ -z "$box" ]; then closed=yes; break; fi
  xdotool key --window "$box" Return 2>/dev/null || true
  sleep 0.1
done
[ "$closed" = yes ] || fail "the Help box did not close"
kill -0 "$pid" 2>/dev/null || fail "the program ended with the Help box"

exit_from_file_menu 50
echo "window smoke test passed"
