# Shared by the window tests: File > Exit with the mouse (the seventh item of the File menu), then
# the program must end with exit code 0. Expects `fail`, and `wid` and `pid` of the window and
# program; clears `pid` once the program has ended.
exit_from_file_menu() {
  local tries=$1
  xdotool mousemove --window "$wid" 20 12 click 1
  sleep 0.3
  xdotool mousemove --window "$wid" 40 160 click 1
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
