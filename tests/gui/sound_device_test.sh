#!/usr/bin/env bash
# The sound output choice in the real window with SDL's dummy and disk drivers:
# --list-sound-devices prints "System Default" and the driver's devices, without a display; a
# remembered device that is not connected gives one message and the default device; the buffer
# size chosen in Options > Sound Device... (keys typed at about 150 ms each) reopens the disk
# driver's device at once while a song plays on, is written to the settings, and the next start
# opens the device with it again; Escape leaves the dialog without a change.
# The disk driver writes one device buffer per callback, in 4 KB pieces: with 2048 frames (8192
# bytes) its file grows by whole 8192 bytes, with the default 512 frames it passes sizes between.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" sound_device_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: sound_device_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool timeout; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$here/window_test_setup.sh"

settings=$XDG_CONFIG_HOME/humbrook/settings
played=$work/played.raw
export SDL_DISKAUDIOFILE=$played

# The device list, with each driver and without a display.
for driver in dummy disk; do
  list=$(env -u DISPLAY SDL_AUDIODRIVER=$driver "$build/humbrook" --list-sound-devices) ||
    fail "--list-sound-devices failed with the $driver driver"
  [ "$(head -1 <<<"$list")" = "System Default" ] || fail "the $driver list starts with '$(head -1 <<<"$list")'"
  [ "$(wc -l <<<"$list")" -ge 2 ] || fail "the $driver driver's device is not listed: $list"
done
default_device=$(SDL_AUDIODRIVER=disk "$build/humbrook" --list-sound-devices | sed -n 2p)
export SDL_AUDIODRIVER=disk

# FLTK's message boxes have an empty title; so has the root window, which is not counted.
root_windows=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | wc -l || true)
count_boxes() {
  echo $(($(xdotool search --onlyvisible --name '^$' 2>/dev/null | wc -l || true) - root_windows))
}

start_window() {
  rm -f "$played"
  start_humbrook
}

# The distinct sizes of the disk driver's file over 1.5 s, one a line.
file_sizes() {
  for _ in $(seq 150); do
    stat -c %s "$played" 2>/dev/null || true
    sleep 0.01
  done | sort -un | grep -v '^0$' || true
}

# How many of the sizes are no whole number of 8192 bytes (a 2048-frame buffer).
not_whole_buffers() {
  awk '$1 % 8192 != 0 { n++ } END { print n + 0 }' <<<"$1"
}

expect_buffer_frames() {
  local sizes odd
  sizes=$(file_sizes)
  [ "$(wc -l <<<"$sizes")" -ge 5 ] || fail "the disk driver's file hardly grew: $sizes"
  odd=$(not_whole_buffers "$sizes")
  if [ "$1" = 2048 ]; then
    [ "$odd" -le 1 ] || fail "with 2048 frames the file passed $odd sizes between whole buffers"
  else
    [ "$odd" -ge 3 ] || fail "with $1 frames the file grew by whole 8192 bytes only"
  fi
}

# Options > Sound Device..., then the keys $@ in the dialog, until it closes.
choose_in_dialog() {
  xdotool mousemove --window "$wid" 170 12 click 1 # Options
  sleep 0.5
  xdotool key d 2>/dev/null # Sound Device...
  timeout 10 xdotool search --sync --onlyvisible --name '^Sound Device$' >/dev/null 2>&1 ||
    fail "Options > Sound Device... showed no dialog"
  sleep 0.3
  for key in "$@"; do
    xdotool key --delay 150 "$key" 2>/dev/null
  done
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Sound Device$' >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the dialog stayed open after $*"
}

# 1. A remembered device that is not connected: one message, then the default device plays.
mkdir -p "$(dirname "$settings")"
printf 'zoom 1\nsound-device Headphones Unplugged\n' >"$settings"
start_window
shown=no
for _ in $(seq 50); do
  if [ "$(count_boxes)" -ge 1 ]; then shown=yes; break; fi
  sleep 0.1
done
[ "$shown" = yes ] || fail "no message about the missing device appeared"
[ "$(count_boxes)" -eq 1 ] || fail "$(count_boxes) message boxes at start"
xdotool key Return 2>/dev/null # the box has the focus
sleep 1.5
[ "$(count_boxes)" -eq 0 ] || fail "a second message followed the first"
expect_buffer_frames 512
grep -qx 'sound-device Headphones Unplugged' "$settings" ||
  fail "the missing device was forgotten: $(cat "$settings")"
exit_from_file_menu 50

# 2. Playing a song, Options > Sound Device..., the buffer list, 2048 frames, OK.
cp "$here/chunk_song.zwv" "$work/song.zwv"
printf 'zoom 1\n' >"$settings"
start_window
[ "$(count_boxes)" -eq 0 ] || fail "a message at a start without a remembered device"
expect_buffer_frames 512
open_song_from_file_menu song.zwv
xdotool key --window "$wid" Return # play
sleep 0.5
choose_in_dialog Down Tab Down Down Down Return # the listed device, then 2048 frames
expect_buffer_frames 2048
samples=$(od -An -v -t d2 -w4 "$played" | awk '$1 != 0 || $2 != 0 { n++ } END { print n + 0 }')
[ "$samples" -gt 0 ] || fail "the song no longer played after the reopen"
grep -qx 'buffer-frames 2048' "$settings" || fail "the buffer size was not written: $(cat "$settings")"
grep -qx "sound-device $default_device" "$settings" || fail "the device was not written: $(cat "$settings")"
xdotool key --window "$wid" Return # stop
exit_from_file_menu 50

# 3. The next start opens the device with the remembered buffer size, without a message; a
# choice left with Escape changes nothing.
start_window
expect_buffer_frames 2048
[ "$(count_boxes)" -eq 0 ] || fail "a message at the start with a connected remembered device"
cp "$settings" "$work/settings-before"
choose_in_dialog Up Tab Up Escape # System Default and 1024 frames, cancelled
cmp -s "$settings" "$work/settings-before" || fail "Escape changed the settings: $(cat "$settings")"
expect_buffer_frames 2048
exit_from_file_menu 50
echo "sound device test passed"
