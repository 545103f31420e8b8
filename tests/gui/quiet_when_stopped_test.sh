#!/usr/bin/env bash
# The window sleeps while nothing is due: with playback stopped and no input, its main thread
# wakes at most a few times a second (it counted 500 wake-ups a second when the loop polled
# every 2 ms), at start-up and again after a song played and stopped. The count is the kernel's
# voluntary context switches of the main thread, which a busy machine does not inflate.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" quiet_when_stopped_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: quiet_when_stopped_test.sh BUILD_DIR}
build=$(cd "$build" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
command -v xdotool >/dev/null || { echo "SKIP: xdotool is not installed" >&2; exit 77; }
pid=
export XDG_CONFIG_HOME=$(mktemp -d) # the settings of this run, never the developer's own
export XDG_STATE_HOME=$XDG_CONFIG_HOME/state # and its autosaves
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$XDG_CONFIG_HOME"
}
trap cleanup EXIT

. "$here/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

seconds=3
most_per_second=10

# Wake-ups of the main thread in $seconds seconds.
wakeups() {
  local before after
  before=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/task/$pid/status")
  sleep "$seconds"
  after=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/task/$pid/status")
  echo $((after - before))
}

export SDL_AUDIODRIVER=dummy
"$build/humbrook" &
pid=$!
wid=$(timeout 10 xdotool search --sync --onlyvisible --name '^Humbrook 1\.0' 2>/dev/null | head -1) ||
  true
[ -n "$wid" ] || fail "the main window did not appear"
# The pointer rests outside the window, so that no event arrives.
xdotool mousemove 1000 750
sleep 1

count=$(wakeups)
echo "stopped after start-up: $count wake-ups in $seconds s"
[ "$count" -le $((most_per_second * seconds)) ] || fail "the loop woke $count times in $seconds s"

# Enter plays for a second, Enter stops; the meters fall back, then the loop sleeps again.
xdotool key --window "$wid" Return
sleep 1
playing=$(wakeups)
echo "playing: $playing wake-ups in $seconds s"
[ "$playing" -gt $((most_per_second * seconds)) ] || fail "the pump did not run while playing"
xdotool key --window "$wid" Return
sleep 1
count=$(wakeups)
echo "stopped after playing: $count wake-ups in $seconds s"
[ "$count" -le $((most_per_second * seconds)) ] || fail "the loop woke $count times in $seconds s"

exit_from_file_menu 50
echo "quiet when stopped test passed"
