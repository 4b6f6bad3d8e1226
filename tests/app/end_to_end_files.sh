#!/usr/bin/env bash
# The real editor under Xvfb: an edit saved through the menu and the save dialog, the file's
# bytes, New, the map loaded back, the question before discarding edits, Write BMP, and a
# save that fails.
#   end_to_end_files.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" identify convert

# ---- Inside the X server from here on.
work=$GC_WORK
maps=$work/maps
mkdir -p "$maps"
gc_start_editor

# Waits until no window of that name is visible any more.
gone() {
  for _ in $(seq 1 100); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the window $1 stayed open"
}

# Answers the box of that title with a key (Return is OK or Yes, Escape is No).
answer() {
  local box
  box=$(find_window "$1") || true
  [ -n "$box" ] || fail "no $1 box"
  xdotool windowfocus --sync "$box" key "$2"
  gone "$1"
}

# Files, then the entry's access key.
files_menu() {
  xdotool windowfocus --sync "$main"
  xdotool mousemove $((win_x + 20)) $((win_y + 8)) click 1
  sleep 0.5
  xdotool key "$1"
}

# Types a full path into the file dialog of that title and accepts it.
choose_file() {
  local dialog
  dialog=$(find_window "^$1\$") || true
  [ -n "$dialog" ] || fail "no \"$1\" dialog"
  sleep 0.3
  xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$2"
  xdotool key Return
  gone "^$1\$"
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
expect_caption "$saved"
saved_sum=$(md5sum <"$saved")

# 4. New asks nothing after the save; Load brings the map back under its whole path.
files_menu n
expect_caption NewMap
files_menu l
choose_file 'Load Map File' "$saved"
expect_caption "$saved"

# 5. An unsaved edit: New asks, and No keeps the map and its name.
xdotool windowfocus --sync "$main" key 6 key r
sleep 0.3
files_menu n
answer '^Warning$' Escape
expect_caption "$saved"

# 6. Write BMP: the whole map image, and the notice.
files_menu w
choose_file 'Write Bitmap File' "$maps/picture"
answer '^Information$' Return
[ -f "$maps/picture.BMP" ] || fail "no bitmap file"
[ "$(head -c 2 "$maps/picture.BMP")" = BM ] || fail "the bitmap is no Windows BMP"
[ "$(identify -format '%w %h' "$maps/picture.BMP")" = "1590 1301" ] ||
  fail "the bitmap is $(identify -format '%w by %h' "$maps/picture.BMP") pixels"
# The middle of cell (1, 1), loaded back as water: blue over red.
read -r red blue <<<"$(convert "$maps/picture.BMP" -crop 1x1+33+21 \
  -format '%[fx:int(255*r)] %[fx:int(255*b)]' info:)"
[ "$blue" -gt $((red + 50)) ] || fail "cell (1, 1) of the bitmap is not water ($red, $blue)"

# 7. Print to a PDF file through the print dialog (Alt+F is its output file field): the map
# fills the page inside one-inch margins.
files_menu p
dialog=$(find_window '^Print$') || true
[ -n "$dialog" ] || fail "no print dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" key alt+f key ctrl+a type --delay 20 "$maps/map.pdf"
xdotool key Return
gone '^Print$'
for _ in $(seq 1 50); do [ -s "$maps/map.pdf" ] && break; sleep 0.1; done
[ "$(head -c 4 "$maps/map.pdf")" = %PDF ] || fail "no PDF was printed"
if command -v pdftoppm >/dev/null; then
  pdftoppm -png -r 72 -singlefile "$maps/map.pdf" "$work/page"
  read -r page_w page_h <<<"$(identify -format '%w %h' "$work/page.png")"
  grey() { convert "$work/page.png" -crop "1x1+$1+$2" -format '%[fx:int(255*intensity)]' info:; }
  [ "$(grey 36 36)" = 255 ] || fail "the top left margin of the page is not white"
  [ "$(grey $((page_w - 36)) $((page_h / 3)))" = 255 ] || fail "the right margin is not white"
  [ "$(grey $((page_w / 2)) $((page_h / 3)))" -lt 250 ] || fail "no map in the middle of the page"
fi

# 8. A save into a folder that does not exist: an error, the caption and the map stay.
files_menu s
choose_file 'Write Map File' "$maps/no such folder/second"
answer '^Gridcraft$' Return
expect_caption "$saved"
[ ! -e "$maps/no such folder" ] || fail "a folder was made"
[ "$(md5sum <"$saved")" = "$saved_sum" ] || fail "the saved map changed"

kill "$pid"
echo "end-to-end files: all steps passed"
