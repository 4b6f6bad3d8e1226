#!/usr/bin/env bash
# The real editor under Xvfb, killed and started again: edits kept in a recovery file of the
# run's own state folder, SIGKILL, the question at the next start, Yes, and Save writes the
# edited map where it would have; a map changed on disk by another program, replaced by a
# rename, is loaded again; no recovery file is left after a normal close, also after No to
# the question before closing.
#   end_to_end_recovery.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" import

# ---- Inside the X server from here on.
work=$GC_WORK
maps=$work/maps
recovery=$XDG_STATE_HOME/gridcrafter/recovery
mkdir -p "$maps"

recoveries() { find "$recovery" -name '*.recovery' 2>/dev/null | wc -l; }

main_window() {
  main=$(find_window "^Korvane Gridcrafter : $1\$") || true
  [ -n "$main" ] || fail "no main window with the caption \"$1\""
}

# Ctrl+Shift+S (Files, Save), the path typed into the save dialog (a file that is there is replaced), the notice.
save_as() {
  xdotool windowfocus --sync "$main" key ctrl+shift+s
  local dialog
  dialog=$(find_window '^Write Map File$') || true
  [ -n "$dialog" ] || fail "no save dialog"
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$1"
  xdotool key Return
  if [ -e "$1" ]; then
    sleep 0.5
    xdotool key y
  fi
  answer '^Information$' Return
}

# Byte 8 of cell (x, y) is its ground, byte 10 its fire.
cell_byte() {
  od -An -tu1 -j $(((($1 - 1) * 32 + $2 - 1) * 20 + $3)) -N1 "$4" | tr -d ' '
}

quit_editor() {
  for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then fail "the editor did not end"; fi
  local status=0
  wait "$pid" || status=$?
  [ "$status" = 0 ] || fail "the editor ended with status $status"
}

# 1. The first start; W makes cell (1, 1) shallow water; saved as kept.KVX.
gc_start_editor
answer '^Korvane : Gridcraft$' Return
answer '^Warning$' Return
main_window NewMap
xdotool windowfocus --sync "$main" key Return key w
kept=$maps/kept.KVX
save_as "$kept"
main_window "$kept"
[ "$(recoveries)" = 0 ] || fail "a recovery file of a saved map"

# 2. Unsaved edits: fire on cell (2, 1) and rough ground on (3, 1); two seconds later they are
# in the recovery file. Then SIGKILL.
xdotool windowfocus --sync "$main" key 6 key f key 6 key r
sleep 2.5
[ "$(recoveries)" = 1 ] || fail "$(recoveries) recovery files 2.5 s after the last edit"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true

# 3. The next start asks; Yes brings the map back under its name, unsaved.
gc_start_editor
answer '^Korvane : Gridcraft$' Return
find_window '^Warning$' >/dev/null || fail "no question about the unsaved changes"
import -window root "$work/question.png"
answer '^Warning$' y
main_window "$kept"
save_as "$kept"
[ "$(cell_byte 1 1 8 "$kept")" = 5 ] || fail "cell (1, 1) of the saved map is not water"
[ "$(cell_byte 2 1 10 "$kept")" = 1 ] || fail "cell (2, 1) of the saved map has no fire"
[ "$(cell_byte 3 1 8 "$kept")" = 1 ] || fail "cell (3, 1) of the saved map is not rough ground"
[ "$(cell_byte 4 1 8 "$kept")" = 0 ] || fail "cell (4, 1) of the saved map changed"
[ "$(recoveries)" = 0 ] || fail "a recovery file is left after the save"
cp "$kept" "$work/restored.KVX"

# 4. Another program replaces the map by a rename, with cell (1, 1) made ground 7: loaded
# again without a question, as the next save shows.
cp "$kept" "$maps/other.tmp"
printf '\x07' | dd of="$maps/other.tmp" bs=1 seek=8 conv=notrunc 2>/dev/null
mv "$maps/other.tmp" "$kept"
sleep 1
import -window root "$work/reloaded.png"
[ -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)" ] ||
  fail "a question about a change on disk without unsaved edits"
save_as "$maps/after.KVX"
cmp -s "$kept" "$maps/after.KVX" || fail "the map changed on disk was not loaded again"
main_window "$maps/after.KVX"

# 5. Ctrl+Q without unsaved edits closes at once; no recovery file is left.
xdotool windowfocus --sync "$main" key ctrl+q
quit_editor
[ "$(recoveries)" = 0 ] || fail "a recovery file is left after a normal close"

# 6. The next start asks nothing; an edit kept for two seconds, then Ctrl+Q and No: no
# recovery file is left either.
gc_start_editor
answer '^Korvane : Gridcraft$' Return
main_window NewMap
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)" ] ||
  fail "a question at a start after a normal close"
xdotool windowfocus --sync "$main" key Return key l
sleep 2.5
[ "$(recoveries)" = 1 ] || fail "no recovery file of the unsaved edit"
xdotool windowfocus --sync "$main" key ctrl+q
answer '^Warning$' n
quit_editor
[ "$(recoveries)" = 0 ] || fail "a recovery file is left after No to the question before closing"
echo "end-to-end recovery: all steps passed"
