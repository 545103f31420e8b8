# Shared by the window tests: File > Exit with the mouse (the ninth item of the File menu), then
# the program must end with exit code 0; a modified song's question is answered Don't Save.
# Expects `fail`, and `wid` and `pid` of the window and
# program; clears `pid` once the program has ended.
exit_from_file_menu() {
  local tries=$1
  xdotool mousemove --window "$wid" 20 12 click 1
  sleep 0.3
  xdotool mousemove --window "$wid" 40 202 click 1
  sleep 0.3
  local box
  box=$(xdotool search --onlyvisible --name '^Humbrook$' 2>/dev/null | tail -1 || true)
  [ -n "$box" ] && { xdotool key --window "$box" d 2>/dev/null || true; }
  for _ in $(seq "$tries"); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "File > Exit did not end the program"
  local status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" -eq 0 ] || fail "exit code $status"
}
