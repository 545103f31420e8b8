# Sourced by the window tests: a scratch folder ($work), the settings and autosaves of the run in
# a folder of their own (never the developer's, and out of the file dialogs' way), the cleanup
# that ends the program under test ($pid) and removes both, File > Exit, and fail.
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
