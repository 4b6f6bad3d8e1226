#!/usr/bin/env bash
# The real editor under Xvfb: a block of hexes made by keys, selected with a Shift drag (the
# view tints it), copied, pasted at a hex of the other column parity after a plain click
# there, saved, and the file's bytes checked; then a second editor takes the same hexes from
# the clipboard of the first, and saves them too.
#   end_to_end_selection.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" convert import python3

# ---- Inside the X server from here on.
work=$GC_WORK
maps=$work/maps
mkdir -p "$maps"
gc_start_editor

# Saves the map of the editor in that window under a name, through Ctrl+S and the dialog.
save_as() {
  xdotool windowfocus --sync "$1" key ctrl+s
  local dialog
  dialog=$(find_window '^Write Map File$') || true
  [ -n "$dialog" ] || fail "no save dialog"
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$2"
  xdotool key Return
  gone '^Write Map File$'
  answer '^Information$' Return
  [ -f "$2.KVX" ] || fail "no map file $2.KVX"
}

# Where the map view's image begins on the screen, for the window of that id: what stands out
# from the window's background below the buttons, inside a frame of 2 pixels. Sets view_x and
# view_y.
find_view() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$work/view.png"
  read -r view_x view_y <<<"$(convert "$work/view.png" \
    -crop "${WIDTH}x$((HEIGHT - 45 - 19))+$X+$((Y + 45))" +repage -trim -format '%X %Y' info: |
    tr -d +)"
  view_x=$((X + view_x + 2))
  view_y=$((Y + 45 + view_y + 2))
}

# The centre of a hex on the screen: its sprite cell's corner and (33, 20).
centre_x() { echo $((view_x + 49 * ($1 - 1) + 33)); }
centre_y() { echo $((view_y + 40 * ($2 - 1) + ($1 % 2 == 1 ? 2 : 22) + 20)); }

# Mean blue minus mean red, 0 to 255, of 9 by 9 pixels of the screen around a point.
blueness() {
  import -window root "$work/blue.png"
  convert "$work/blue.png" -crop "9x9+$(($1 - 4))+$(($2 - 4))" +repage -resize '1x1!' \
    -format '%[fx:int(255*(b-r))]' info:
}

# The map file a fresh map with these edits gives: "x y field value" per line.
expected_map() {
  python3 - "$1" <<'PY'
import struct, sys
cells = {(x, y): [0, 0, 0, [0] * 5] for x in range(1, 33) for y in range(1, 33)}
def put(x, y, height=0, ground=0, road=0):
    cells[(x, y)] = [height, ground, 0, [0, 0, 0, road, 0]]
block = {(1, 1): dict(ground=3), (1, 2): dict(ground=5), (2, 1): dict(height=1),
         (2, 2): dict(road=1)}
for (x, y), fields in block.items():
    put(x, y, **fields)
# Pasted with (1, 1) on (6, 5): column 6 is even, so (2, 1), south-east of (1, 1), lands on
# (7, 6), south-east of (6, 5), and (2, 2) below it.
for (x, y), to in {(1, 1): (6, 5), (1, 2): (6, 6), (2, 1): (7, 6), (2, 2): (7, 7)}.items():
    if sys.argv[1] == "second":
        to = (to[0] + 4, to[1] + 4)
    put(*to, **block[(x, y)])
out = bytearray()
for x in range(1, 33):
    for y in range(1, 33):
        height, ground, mines, flags = cells[(x, y)]
        if sys.argv[1] == "second" and (x, y) in block:
            height, ground, flags = 0, 0, [0] * 5
        out += struct.pack("<BBxxiBB5BxI", x, y, height, ground, mines, *flags, 0)
sys.stdout.buffer.write(out)
PY
}

# 1. Start: Start, the warning about the missing settings, a clean map.
answer '^Korvane : Gridcraft$' Return
answer '^Warning$' Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no main window"
find_view "$main"

# 2. Editing on; heavy woods on (1, 1), water on (1, 2), a road on (2, 2), (2, 1) raised;
# editing off again.
xdotool windowfocus --sync "$main" key Return key h key 2 key w key 6 key period key 8
xdotool type '>'
xdotool key Return
sleep 0.3

# 3. A Shift drag from a little above and left of the centre of (1, 1) to a little below and
# right of that of (2, 2) selects the four: tinted in the view.
plain=$(blueness "$(centre_x 1 2)" "$(centre_y 1 2)")
xdotool mousemove $(($(centre_x 1 1) - 5)) $(($(centre_y 1 1) - 5)) keydown shift mousedown 1
xdotool mousemove $(($(centre_x 2 2) + 5)) $(($(centre_y 2 2) + 5)) mouseup 1 keyup shift
sleep 0.3
import -window root "$work/selected.png"
tinted=$(blueness "$(centre_x 1 2)" "$(centre_y 1 2)")
[ "$tinted" -gt $((plain + 10)) ] || fail "the selected hex (1, 2) is not tinted ($plain -> $tinted)"

# 4. Ctrl+C, a plain click on (6, 5) (the tint goes), Ctrl+V: the block lands there.
xdotool windowfocus --sync "$main" key ctrl+c
xdotool mousemove "$(centre_x 6 5)" "$(centre_y 6 5)" click 1
sleep 0.3
[ "$(blueness "$(centre_x 1 2)" "$(centre_y 1 2)")" -le $((plain + 2)) ] ||
  fail "a plain click left the selection"
xdotool windowfocus --sync "$main" key ctrl+v
sleep 0.3
import -window root "$work/pasted.png"

# 5. Saved, the file holds the block and its copy, each cell naming its own place.
save_as "$main" "$maps/first"
expected_map first >"$work/first.expected"
cmp "$work/first.expected" "$maps/first.KVX" ||
  fail "the saved map differs from the block and its copy"

# 6. A second editor takes the hexes from the first one's clipboard: pasted at (10, 9).
"$GC_EDITOR" >"$work/editor2.log" 2>&1 &
pid2=$!
trap 'kill "$pid" "$pid2" 2>/dev/null || true' EXIT
answer '^Korvane : Gridcraft$' Return
second=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$second" ] || fail "no second editor"
find_view "$second"
xdotool mousemove "$(centre_x 10 9)" "$(centre_y 10 9)" click 1
xdotool windowfocus --sync "$second" key ctrl+v
sleep 0.3
save_as "$second" "$maps/second"
expected_map second >"$work/second.expected"
cmp "$work/second.expected" "$maps/second.KVX" ||
  fail "the second editor's map differs from the hexes copied in the first"

# 7. Both end on Ctrl+Q without a question: their maps are saved.
for window in "$second" "$main"; do
  xdotool windowfocus --sync "$window" key ctrl+q
done
for process in "$pid2" "$pid"; do
  for _ in $(seq 1 50); do
    kill -0 "$process" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$process" 2>/dev/null; then fail "an editor did not end on Ctrl+Q"; fi
  wait "$process" || fail "an editor ended with status $?"
done
echo "end-to-end selection: all steps passed"
