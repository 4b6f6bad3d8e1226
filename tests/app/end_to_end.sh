#!/usr/bin/env bash
# The real editor in a fresh game folder under Xvfb, typed at as a user types with xdotool.
#   end_to_end.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" import convert

# ---- Inside the X server from here on.
work=$GC_WORK
game=$work/game
gc_start_editor

# Takes a screenshot once the screen has stopped changing; prints its path.
settle() {
  local previous=$work/settle.png next=$work/next.png
  import -window root "$previous"
  for _ in $(seq 1 40); do
    sleep 0.15
    import -window root "$next"
    if [ "$(convert "$previous" "$next" -compose difference -composite -format '%[fx:maxima]' info:)" = 0 ]; then
      local shot
      shot=$(mktemp -p "$work" shotXXXXXX.png)
      cp "$next" "$shot"
      echo "$shot"
      return
    fi
    mv "$next" "$previous"
  done
  fail "the screen never settled"
}

# Bounding box "W H X Y" of the pixels that differ between two shots inside a rectangle of
# the main window (window coordinates); "0 0 0 0" when none differ.
changed_box() {
  local a=$1 b=$2 x=$3 y=$4 w=$5 h=$6
  local box
  box=$(convert "$a" "$b" -crop "${w}x${h}+$((win_x + x))+$((win_y + y))" +repage \
        -compose difference -composite -colorspace gray -threshold 0 \
        -format '%[fx:maxima>0?1:0] %@' info: 2>/dev/null)
  if [ "${box%% *}" = 0 ]; then echo "0 0 0 0"; return; fi
  echo "${box#* }" | sed -E 's/^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$/\1 \2 \3 \4/'
}

# Mean blue minus mean red, 0 to 255 scale, of a rectangle of a shot in window coordinates.
blueness() {
  convert "$1" -crop "${4}x${5}+$((win_x + $2))+$((win_y + $3))" +repage -resize '1x1!' \
    -format '%[fx:int(255*(b-r))]' info:
}

# 0. The title screen comes first, its marquee moving; Return on Start goes on.
title=$(find_window '^Korvane : Gridcraft$') || true
[ -n "$title" ] || fail "no title screen"
eval "$(xdotool getwindowgeometry --shell "$title")"
win_x=$X win_y=$Y
import -window root "$work/marquee1.png"
sleep 0.5
import -window root "$work/marquee2.png"
read -r w h x y <<<"$(changed_box "$work/marquee1.png" "$work/marquee2.png" 16 368 600 57)"
[ "$w" -gt 0 ] || fail "the marquee of the title screen does not move"
xdotool windowfocus --sync "$title" key Return

# 1. First start: no settings file, so the warning comes first; OK goes on.
warning=$(find_window '^Warning$') || true
[ -n "$warning" ] || fail "no warning about the missing settings file"
xdotool windowfocus --sync "$warning" key Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no main window with the new map's caption"
grep -q 'v2' "$game/Korvane.INI" 2>/dev/null || fail "the settings file was not written"

eval "$(xdotool getwindowgeometry --shell "$main")"
win_x=$X win_y=$Y
# No window manager draws a frame: the window is the designed client, 792 by 554 below the
# menu, and the map view ends 3 pixels above the status bar, as with the designed frame.
[ "$WIDTH" = 792 ] && [ "$HEIGHT" -gt 554 ] && [ "$HEIGHT" -lt 600 ] ||
  fail "window is ${WIDTH}x$HEIGHT, not 792 wide with 554 below the menu"
# The map view, between the buttons and the status bar.
map_y=45 map_h=$((HEIGHT - 45 - 40))

xdotool windowfocus --sync "$main"
start=$(settle)

# 2. Enter switches editing on: the cursor mark appears on cell (1, 1) at the top left.
xdotool key Return
editing=$(settle)
read -r w h x y <<<"$(changed_box "$start" "$editing" 0 "$map_y" "$WIDTH" "$map_h")"
[ "$w" -gt 0 ] && [ "$w" -le 70 ] && [ "$h" -le 45 ] && [ "$x" -le 20 ] ||
  fail "switching editing on changed ${w}x$h at $x,$y of the map, not the mark on cell (1, 1)"
# The middle of the cell, clear of the mark's outline.
cell_x=$((x + 15)) cell_y=$((map_y + y + 8))

# 3. Lower-case w: cell (1, 1) becomes water, nothing else on the map changes.
xdotool key w
water=$(settle)
read -r w h x y <<<"$(changed_box "$editing" "$water" 0 "$map_y" "$WIDTH" "$map_h")"
[ "$w" -gt 0 ] && [ "$w" -le 70 ] && [ "$h" -le 45 ] && [ "$x" -le 20 ] ||
  fail "w changed ${w}x$h at $x,$y of the map, not cell (1, 1)"
before=$(blueness "$editing" "$cell_x" "$cell_y" 36 22)
after=$(blueness "$water" "$cell_x" "$cell_y" 36 22)
[ "$after" -gt $((before + 30)) ] || fail "cell (1, 1) did not turn blue ($before -> $after)"

# 4. 6 moves the cursor one column right: the mark leaves (1, 1) for (2, 1).
xdotool key 6
moved=$(settle)
read -r w h x y <<<"$(changed_box "$water" "$moved" 0 "$map_y" "$WIDTH" "$map_h")"
[ "$w" -ge 60 ] && [ "$w" -le 125 ] && [ "$x" -le 20 ] ||
  fail "6 changed ${w}x$h at $x,$y of the map, not cells (1, 1) and (2, 1)"

# 5. Enter switches editing off; typing then changes nothing.
xdotool key Return
off=$(settle)
read -r w h x y <<<"$(changed_box "$moved" "$off" 0 "$map_y" "$WIDTH" "$map_h")"
[ "$w" -gt 0 ] && [ "$w" -le 70 ] || fail "switching editing off did not paint over the mark"
xdotool key w key 6
still=$(settle)
read -r w h x y <<<"$(changed_box "$off" "$still" 0 0 "$WIDTH" "$HEIGHT")"
[ "$w" = 0 ] || fail "keys changed the window with editing off (${w}x$h at $x,$y)"

# 6. Hints: over Fill the hint panel fills, over Edit it empties again.
hint_panel() { changed_box "$1" "$2" 400 $((HEIGHT - 19)) $((WIDTH - 400)) 19; }
xdotool mousemove $((win_x + 150)) $((win_y + 32))
fill=$(settle)
read -r w h x y <<<"$(hint_panel "$still" "$fill")"
[ "$w" -gt 0 ] || fail "no hint over the Fill button"
xdotool mousemove $((win_x + 645)) $((win_y + 32))
edit=$(settle)
read -r w h x y <<<"$(hint_panel "$fill" "$edit")"
[ "$w" -gt 0 ] || fail "the hint stayed over the Edit button"

# What stands out from the window's background between the buttons and the status bar (the
# bottom 19 rows): the map view, frame and scroll bars included. Prints "W H X Y".
view_box() {
  convert "$1" -crop "${WIDTH}x$((HEIGHT - 45 - 19))+$win_x+$((win_y + 45))" +repage -trim \
    -format '%w %h %X %Y' info: | tr -d +
}
read -r w h x y <<<"$(view_box "$start")"
[ $((HEIGHT - 19 - (45 + y + h))) = 3 ] ||
  fail "the map view (${w}x$h at $x,$((45 + y))) does not end 3 pixels above the status bar"

# 7. A window 200 pixels smaller each way, 600 by 400 as designed, has a map view (frame and
# scroll bars included) of 570 by 300: what stands out from the window's background between
# the buttons and the status bar.
xdotool windowsize --sync "$main" $((WIDTH - 200)) $((HEIGHT - 200))
small=$(settle)
eval "$(xdotool getwindowgeometry --shell "$main")"
read -r w h x y <<<"$(view_box "$small")"
[ "$w $h" = "570 300" ] || fail "the map view of a ${WIDTH}x$HEIGHT window is ${w}x$h, not 570x300"

# 8. Files, then Up to the last entry, Exit: the water of step 3 is unsaved, so the editor
# asks first. Cancel (Escape) keeps it and the map; Ctrl+Q asks again, and No ends it.
before_exit=$(settle)
xdotool mousemove $((win_x + 20)) $((win_y + 8)) click 1
sleep 0.5
xdotool key Up key Return
question=$(find_window '^Warning$') || true
[ -n "$question" ] || fail "Exit with an unsaved edit did not ask"
xdotool windowfocus --sync "$question" key Escape
for _ in $(seq 1 50); do
  [ -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)" ] && break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null || fail "Cancel ended the editor"
kept=$(settle)
read -r w h x y <<<"$(changed_box "$before_exit" "$kept" 0 "$map_y" "$WIDTH" "$((HEIGHT - map_y - 40))")"
[ "$w" = 0 ] || fail "Cancel changed the map view (${w}x$h at $x,$y)"
xdotool windowfocus --sync "$main" key ctrl+q
question=$(find_window '^Warning$') || true
[ -n "$question" ] || fail "Ctrl+Q with an unsaved edit did not ask"
xdotool windowfocus --sync "$question" key n
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then fail "No did not end the editor"; fi
wait "$pid" || fail "the editor ended with status $?"
echo "end-to-end: all steps passed"
