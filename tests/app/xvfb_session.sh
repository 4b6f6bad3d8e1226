# Shared by the end-to-end scripts, which source it:
#   gc_run_inside_xvfb "$0" <gridcrafter> <gridcrafter-sprites> TOOLS...
# Outside the X server it checks the tools (exit 77, skipped, when one is missing), lays out a
# fresh game folder and runs the calling script again under xvfb-run with --inside, then
# exits with its status. Inside, it returns and the script goes on with
# gc_start_editor and find_window.

fail() {
  echo "FAIL: $*" >&2
  [ -s "${GC_WORK:-}/editor.log" ] && sed 's/^/editor: /' "$GC_WORK/editor.log" >&2
  exit 1
}

gc_run_inside_xvfb() {
  local script=$1 editor=$2 sprites=$3
  [ "$editor" = --inside ] && return 0
  shift 3
  for tool in xvfb-run xdotool "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
  local work
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/game/Sprites" "$work/game/Gridcrafter"
  "$(realpath "$sprites")" "$work/game/Sprites" >/dev/null
  # Preferences, the user's own game folder and recovery files of this run alone: nothing
  # saved before, none left behind.
  export GC_EDITOR=$(realpath "$editor") GC_WORK=$work XDG_CONFIG_HOME=$work/config \
    XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state
  local status=0
  # Without -noreset the server resets whenever its last client leaves, such as the probe of
  # gc_start_editor, which may refuse the editor connecting meanwhile (two runs failed so,
  # under load).
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$script" --inside || status=$?
  exit "$status"
}

# Starts the editor in the game folder's editor directory, or in the directory given first,
# with the arguments that follow; sets pid.
gc_start_editor() {
  cd "${1:-$GC_WORK/game/Gridcrafter}"
  shift $(($# > 0))
  # xvfb-run may hand over before the server takes connections.
  for _ in $(seq 1 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
  done
  "$GC_EDITOR" "$@" >"$GC_WORK/editor.log" 2>&1 &
  pid=$!
  trap 'kill "$pid" 2>/dev/null || true' EXIT
}

# Searches again and again: a window that vanishes while xdotool looks (the loading window)
# makes a single search fail.
find_window() {
  local deadline=$((SECONDS + 20)) found
  while [ "$SECONDS" -lt "$deadline" ]; do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    if [ -n "$found" ]; then echo "$found"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Presses a key in the window of that title once it shows.
press_in_window() {
  local window
  window=$(find_window "$1") || true
  [ -n "$window" ] || fail "no window $1"
  xdotool windowfocus --sync "$window" key "$2"
}

# Waits for the window of that title to close.
gone() {
  for _ in $(seq 1 100); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the window $1 stayed open"
}

# Presses a key in the box of that title and waits for it to close.
answer() {
  press_in_window "$1" "$2"
  gone "$1"
}
