# Sourced by the window tests: a scratch folder ($work) with its own settings, the cleanup that
# ends the program under test ($pid) and removes the folder, File > Exit, and fail.
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config # the settings of this run, never the developer's own
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "${BASH_SOURCE[0]}")/file_menu_exit.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
