# Sourced by the window tests: a scratch folder ($work), the settings and autosaves of the run in
# a folder of their own (never the developer's, and out of the file dialogs' way), the cleanup
# that ends the program under test ($pid) and removes both, File > Exit, fail and
# wait_for_window.
work=$(mktemp -d)
private=$(mktemp -d)
export XDG_CONFIG_HOME=$private/config XDG_STATE_HOME=$private/state
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
  rm -rf "$work" "$private"
}
trap cleanup EXIT

. "$(dirname "${BASH_SOURCE[0]}")/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to $2 tenths of a second (default 100) for a shown window whose title matches the
# pattern $1 and prints its id (the newest of several); returns 1 when none appears.
wait_for_window() {
  local id
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}
