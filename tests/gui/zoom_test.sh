#!/usr/bin/env bash
# Zoom in the real window on a large virtual screen: the first start picks zoom 3 or 4, the
# zoomed client area is the renderer's zoomed screenshot pixel for pixel, a knob dragged at that
# zoom turns exactly as the same drag at zoom 1 (the pictures after it match), Ctrl+0 goes back
# to actual size and the choice is remembered at the next start.
# Usage: xvfb-run -a -s "-screen 0 3840x2160x24" zoom_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: zoom_test.sh BUILD_DIR}
for tool in xdotool xwininfo import compare; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config # the settings of this run, never the developer's own
export XDG_STATE_HOME=$work/state   # and its autosaves
export SDL_AUDIODRIVER=dummy
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

client_width=828
client_height=573

start_window() {
  "$build/humbrook" &
  pid=$!
  wid=
  for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --name '^Humbrook 1\.0' 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && return 0
    sleep 0.1
  done
  fail "the main window did not appear"
}

window_size() {
  xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

# Waits up to 10 s for the window to become $1 pixels wide.
wait_for_width() {
  local width height
  for _ in $(seq 100); do
    read -r width height < <(window_size)
    [ "$width" -eq "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits until the client area (zoom $1, below the menu bar) equals the picture $2; with a
# rectangle "LEFT TOP WIDTH HEIGHT" in picture pixels as $3, only that part of both.
expect_client_area() {
  local zoom=$1 expected=$2 part=${3:-0 0 $client_width $client_height} width height diff=unknown
  local left top w h
  read -r left top w h <<<"$part"
  local crop="$((w * zoom))x$((h * zoom))+$((left * zoom))+$((top * zoom))"
  convert "$expected" -crop "$crop" +repage "$work/expected-part.png"
  for _ in $(seq 50); do
    read -r width height < <(window_size)
    import -window "$wid" -crop "$((client_width * zoom))x$((client_height * zoom))+0+$((height - client_height * zoom))" \
      +repage "$work/window.png"
    convert "$work/window.png" -crop "$crop" +repage "$work/window.png"
    diff=$(compare -metric AE "$work/window.png" "$work/expected-part.png" null: 2>&1 || true)
    [ "$diff" = 0 ] && return 0
    sleep 0.1
  done
  fail "client area at zoom $zoom differs from $expected in $diff pixels"
}

# The knob of the third row, right column, of the effect knobs, dragged 30 pixels up: picture
# points, for the renderer and (scaled into each zoomed pixel's square) for the window.
drag=("786 125" "786 110" "786 95")
{
  echo "down ${drag[0]}"
  echo "move ${drag[1]}"
  echo "move ${drag[2]}"
  echo "up ${drag[2]}"
  echo "move 2 300" # then the pointer rests between panels, where the help line is the same
} >"$work/knob.txt"
"$build/humbrook-render" --script "$work/knob.txt" >/dev/null

start_window
read -r width height < <(window_size)
zoom=$((width / client_width))
[ "$zoom" -ge 3 ] && [ "$zoom" -le 4 ] || fail "first start on 3840 x 2160 chose a window $width wide"
[ "$width" -eq $((client_width * zoom)) ] || fail "window width $width is no whole zoom"
"$build/humbrook-render" --screenshot "$work/start.png" --zoom "$zoom" >/dev/null
expect_client_area "$zoom" "$work/start.png"

# The drag at zoom 3 (the window starts there on this screen; Zoom Out from 4 otherwise).
if [ "$zoom" -eq 4 ]; then
  xdotool key --window "$wid" ctrl+minus
  zoom=3
fi
wait_for_width $((client_width * 3)) || fail "Zoom Out left the window $(window_size)"
read -r width height < <(window_size)
menu_height=$((height - client_height * 3))
window_point() {
  local x y
  read -r x y <<<"$1"
  echo $((x * 3 + 1)) $((menu_height + y * 3 + 2))
}
# One event at a time, each given time to arrive, as a hand would move.
xdotool mousemove --window "$wid" $(window_point "${drag[0]}")
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove --window "$wid" $(window_point "${drag[1]}")
sleep 0.2
xdotool mousemove --window "$wid" $(window_point "${drag[2]}")
sleep 0.2
xdotool mouseup 1
sleep 0.2
xdotool mousemove --window "$wid" $(window_point "2 300")
echo "screenshot $work/knob.png" >>"$work/knob.txt"
"$build/humbrook-render" --script "$work/knob.txt" >/dev/null
convert "$work/knob.png" -sample 300% "$work/knob3.png" 2>/dev/null ||
  fail "cannot scale the expected picture"
[ "$(compare -metric AE "$work/knob.png" "$work/start.png" null: 2>&1 || true)" != 0 ] ||
  fail "the drag changed nothing at zoom 1"
# The effect knobs panel: the help line above may differ while the pointer settles.
expect_client_area 3 "$work/knob3.png" "736 29 88 224"

# Actual Size with Ctrl+0: the window at zoom 1, the same picture, and remembered.
xdotool key --window "$wid" ctrl+0
wait_for_width "$client_width" || fail "Actual Size left the window $(window_size)"
expect_client_area 1 "$work/knob.png" "736 29 88 224"
grep -qx 'zoom 1' "$XDG_CONFIG_HOME/humbrook/settings" || fail "the zoom was not written"
exit_from_file_menu 50

start_window
wait_for_width "$client_width" || fail "the remembered zoom 1 came back as $(window_size)"
exit_from_file_menu 50
echo "zoom test passed"
