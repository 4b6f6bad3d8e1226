#!/usr/bin/env bash
# The real editor under Xvfb: edits by key and by a click on a hex saved through the menu and
# the save dialog, the file's bytes, New, the map loaded back, the question before discarding
# edits, an edit undone before a save, Write BMP beside the map and never over it, and a save
# that fails.
#   end_to_end_files.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" identify convert import

# ---- Inside the X server from here on.
work=$GC_WORK
maps=$work/maps
mkdir -p "$maps"
gc_start_editor

# Files, then the entry's access key.
files_menu() {
  xdotool windowfocus --sync "$main"
  xdotool mousemove $((win_x + 20)) $((win_y + 8)) click 1
  sleep 0.5
  xdotool key "$1"
}

# Types a full path into the file dialog of that title and accepts it.
choose_file() {
  choose_file_keep_open "$@"
  gone "^$1\$"
}

# The same, for a dialog that asks something before it closes.
choose_file_keep_open() {
  local dialog
  dialog=$(find_window "^$1\$") || true
  [ -n "$dialog" ] || fail "no \"$1\" dialog"
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$2"
  xdotool key Return
}

expect_caption() {
  [ -n "$(find_window "^Korvane Gridcrafter : $1\$")" ] || fail "the caption is not \"$1\""
}

# 1. Start: the title screen's Start button holds the focus; then the settings are written
# with defaults after the warning, and a clean map comes up.
answer '^Korvane : Gridcraft$' space
answer '^Warning$' Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no main window with the new map's caption"
eval "$(xdotool getwindowgeometry --shell "$main")"
win_x=$X win_y=$Y

# 2. Edit: editing on, W makes cell (1, 1) shallow water (code 5).
xdotool windowfocus --sync "$main" key Return key w
sleep 0.3

# A click on hex (3, 2) puts the cursor there and F sets its fire. The map view is what
# stands out from the window's background below the buttons; hex (3, 2) has its sprite cell
# at (98, 42) of the map image, inside the view's frame of about 2 pixels.
import -window root "$work/view.png"
read -r view_x view_y <<<"$(convert "$work/view.png" \
  -crop "${WIDTH}x$((HEIGHT - 45 - 19))+$win_x+$((win_y + 45))" +repage -trim -format '%X %Y' info: |
  tr -d +)"
xdotool mousemove $((win_x + view_x + 2 + 98 + 33)) $((win_y + 45 + view_y + 2 + 42 + 19)) click 1
xdotool key f
sleep 0.3

# 3. Save through the dialog; the typed name gets the extension.
files_menu s
choose_file 'Write Map File' "$maps/first"
answer '^Information$' Return
saved=$maps/first.KVX
[ -f "$saved" ] || fail "no map file $saved"
[ "$(stat -c %s "$saved")" = 20480 ] || fail "the map file holds $(stat -c %s "$saved") bytes"
# Cell (1, 1): column 1, row 1, height 0, ground 5; cell (1, 2) starts at byte 20.
[ "$(od -An -tu1 -N10 "$saved" | tr -s ' ')" = " 1 1 0 0 0 0 0 0 5 0" ] ||
  fail "cell (1, 1) is stored as $(od -An -tu1 -N10 "$saved")"
[ "$(od -An -tu1 -j20 -N2 "$saved" | tr -s ' ')" = " 1 2" ] || fail "cell (1, 2) is misplaced"
# Cell (3, 2) is the 66th record; its fire flag is byte 10 of it.
[ "$(od -An -tu1 -j1300 -N11 "$saved" | tr -s ' ')" = " 3 2 0 0 0 0 0 0 0 0 1" ] ||
  fail "cell (3, 2), clicked and set on fire, is stored as $(od -An -tu1 -j1300 -N11 "$saved")"
[ "$(od -An -tu1 -j10 -N1 "$saved" | tr -d ' ')" = 0 ] || fail "cell (1, 1) caught the fire"
expect_caption "$saved"
saved_sum=$(md5sum <"$saved")

# 4. New asks nothing after the save; the clean map is a step of its own, so Load asks
# before discarding it, and brings the map back under its whole path.
files_menu n
expect_caption NewMap
files_menu l
answer '^Warning$' Return
choose_file 'Load Map File' "$saved"
expect_caption "$saved"

# 5. An unsaved edit: New asks, and No keeps the map and its name.
xdotool windowfocus --sync "$main" key 6 key r
sleep 0.3
files_menu n
answer '^Warning$' Escape
expect_caption "$saved"

# 6. Ctrl+Z takes the edit of step 5 back: saved under a new name, the file holds the map as
# it was loaded.
xdotool windowfocus --sync "$main" key ctrl+z
sleep 0.3
files_menu s
choose_file 'Write Map File' "$maps/undone"
answer '^Information$' Return
undone=$maps/undone.KVX
[ "$(md5sum <"$undone")" = "$saved_sum" ] || fail "after Ctrl+Z the saved map differs from the loaded one"
expect_caption "$undone"

# 7. Write BMP proposes the map's name as a bitmap, never the map itself: accepted as it
# stands it writes undone.BMP, the whole map image, and the map file keeps its bytes.
files_menu w
dialog=$(find_window '^Write Bitmap File$') || true
[ -n "$dialog" ] || fail "no \"Write Bitmap File\" dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" key Return
gone '^Write Bitmap File$'
answer '^Information$' Return
picture=$maps/undone.BMP
[ -f "$picture" ] || fail "Write BMP did not propose $picture"
[ "$(md5sum <"$undone")" = "$saved_sum" ] || fail "Write BMP changed the map file"
[ "$(head -c 2 "$picture")" = BM ] || fail "the bitmap is no Windows BMP"
[ "$(identify -format '%w %h' "$picture")" = "1590 1301" ] ||
  fail "the bitmap is $(identify -format '%w by %h' "$picture") pixels"
# The middle of cell (1, 1), loaded back as water: blue over red.
read -r red blue <<<"$(convert "$picture" -crop 1x1+33+21 \
  -format '%[fx:int(255*r)] %[fx:int(255*b)]' info:)"
[ "$blue" -gt $((red + 50)) ] || fail "cell (1, 1) of the bitmap is not water ($red, $blue)"

# The map's own name typed in: the dialog's question to replace it (titled like the dialog,
# the newer of the two windows) is answered Yes, and the editor still refuses.
files_menu w
choose_file_keep_open 'Write Bitmap File' "$undone"
replace=
for _ in $(seq 1 50); do
  [ "$(xdotool search --onlyvisible --name '^Write Bitmap File$' 2>/dev/null | wc -l)" -ge 2 ] &&
    replace=$(xdotool search --onlyvisible --name '^Write Bitmap File$' | sort -n | tail -n 1) && break
  sleep 0.1
done
[ -n "$replace" ] || fail "the dialog did not ask before replacing the map file"
xdotool windowfocus --sync "$replace" key y
answer '^Warning$' Return
gone '^Write Bitmap File$'
[ "$(md5sum <"$undone")" = "$saved_sum" ] || fail "Write BMP over the map's own name changed the map file"

# 8. Print to a PDF file through the print dialog (Alt+F is its output file field): the map
# fills the page inside one-inch margins.
files_menu p
dialog=$(find_window '^Print$') || true
[ -n "$dialog" ] || fail "no print dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" key alt+f key ctrl+a type --delay 20 "$maps/map.pdf"
xdotool key Return
gone '^Print$'
# The page is written while the editor paints it (slowly under a sanitizer): wait for its end.
for _ in $(seq 1 300); do tail -c 8 "$maps/map.pdf" 2>/dev/null | grep -q '%%EOF' && break; sleep 0.1; done
[ "$(head -c 4 "$maps/map.pdf")" = %PDF ] || fail "no PDF was printed"
tail -c 8 "$maps/map.pdf" | grep -q '%%EOF' || fail "the PDF was never finished"
if command -v pdftoppm >/dev/null; then
  pdftoppm -png -r 72 -singlefile "$maps/map.pdf" "$work/page"
  read -r page_w page_h <<<"$(identify -format '%w %h' "$work/page.png")"
  grey() { convert "$work/page.png" -crop "1x1+$1+$2" -format '%[fx:int(255*intensity)]' info:; }
  [ "$(grey 36 36)" = 255 ] || fail "the top left margin of the page is not white"
  [ "$(grey $((page_w - 36)) $((page_h / 3)))" = 255 ] || fail "the right margin is not white"
  [ "$(grey $((page_w / 2)) $((page_h / 3)))" -lt 250 ] || fail "no map in the middle of the page"
fi

# 9. A save into a folder that does not exist: an error, the caption and the map stay.
files_menu s
choose_file 'Write Map File' "$maps/no such folder/second"
answer '^Gridcraft$' Return
expect_caption "$undone"
[ ! -e "$maps/no such folder" ] || fail "a folder was made"
[ "$(md5sum <"$undone")" = "$saved_sum" ] || fail "the saved map changed"

kill "$pid"
echo "end-to-end files: all steps passed"
