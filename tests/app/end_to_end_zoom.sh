#!/usr/bin/env bash
# The real editor under Xvfb, zoomed with the View menu's keys: Fit Map (Ctrl+/) shows the
# whole map, a click on a hex of the fitted map and F set that hex's fire in the file saved,
# Actual Size (Ctrl+0) brings back the view's pixels as they were before, Ctrl with the wheel
# keeps the hex under the pointer there, and at 400 % each map pixel is a block of four by
# four screen pixels.
#   end_to_end_zoom.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" convert import compare python3

# ---- Inside the X server from here on.
work=$GC_WORK
gc_start_editor

# A screenshot once the screen has stopped changing; prints its path.
settle() {
  local previous=$work/settle.png next=$work/next.png shot
  import -window root "$previous"
  for _ in $(seq 1 40); do
    sleep 0.15
    import -window root "$next"
    if [ "$(compare -metric AE "$previous" "$next" null: 2>&1)" = 0 ]; then
      shot=$(mktemp -p "$work" shotXXXXXX.png)
      cp "$next" "$shot"
      echo "$shot"
      return
    fi
    mv "$next" "$previous"
  done
  fail "the screen never settled"
}

# The pixels of a rectangle of a shot that differ from another's: 0 when none do.
differing() {
  compare -metric AE "$1[${5}x$6+$3+$4]" "$2[${5}x$6+$3+$4]" null: 2>&1 | cut -d' ' -f1
}

answer '^Korvane : Gridcraft$' space
answer '^Warning$' Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no main window with the new map's caption"
eval "$(xdotool getwindowgeometry --shell "$main")"
win_x=$X win_y=$Y

# 1. A few hexes made to differ, so that the view's place shows in its pixels: water on
# (1, 1), lava on (2, 1), impassable on (2, 2); editing off again, without the cursor mark.
xdotool windowfocus --sync "$main" key Return key w key 6 key a key 2 key x key Return
before=$(settle)
# The map view: what stands out from the window's background below the buttons and above
# the status bar, frame and scroll bars included, in screen coordinates.
read -r view_w view_h view_x view_y <<<"$(convert "$before" \
  -crop "${WIDTH}x$((HEIGHT - 45 - 19))+$win_x+$((win_y + 45))" +repage -trim \
  -format '%w %h %X %Y' info: | tr -d +)"
view_x=$((win_x + view_x)) view_y=$((win_y + 45 + view_y))
[ "$view_w" -gt 600 ] && [ "$view_h" -gt 400 ] || fail "no map view found (${view_w}x$view_h)"

# 2. Fit Map: the whole map in the view, centred across it and as high as it.
xdotool key ctrl+slash
fitted=$(settle)
[ "$(differing "$before" "$fitted" "$view_x" "$view_y" "$view_w" "$view_h")" != 0 ] ||
  fail "Ctrl+/ changed nothing in the view"
# A band of rows across the middle of the view, trimmed of the background beside the map.
read -r pic_w pic_x <<<"$(convert "$fitted" \
  -crop "$((view_w - 6))x10+$((view_x + 3))+$((view_y + view_h / 2))" +repage -trim \
  -format '%w %X' info: | tr -d +)"
[ "$pic_w" -lt $((view_w - 40)) ] || fail "the fitted map is $pic_w pixels wide in a view of $view_w"
left=$((pic_x + 3)) right=$((view_w - 6 - pic_x - pic_w + 3))
[ $((left - right)) -ge -2 ] && [ $((left - right)) -le 2 ] ||
  fail "the fitted map is not centred: $left pixels left of it, $right right"

# 3. Editing on, a click on the middle of hex (25, 25), F, and a save: the file's fire byte of
# that hex is set, and no other hex has fire.
read -r click_x click_y <<<"$(python3 -c "
scale = $pic_w / 1590
height = round(1301 * scale)
top = $view_y + ($view_h - height) // 2
x, y = 49 * 24 + 33, 40 * 24 + 2 + 19
print(round($view_x + 3 + $pic_x + x * scale), round(top + y * scale))")"
xdotool key Return
xdotool mousemove "$click_x" "$click_y" click 1
xdotool key f
xdotool key ctrl+shift+s
dialog=$(find_window '^Write Map File$') || true
[ -n "$dialog" ] || fail "no save dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$work/zoomed"
xdotool key Return
gone '^Write Map File$'
answer '^Information$' Return
saved=$work/zoomed.KVX
[ -f "$saved" ] || fail "no map file $saved"
fires=$(python3 -c "
data = open('$saved', 'rb').read()
print(' '.join(f'{data[i]},{data[i + 1]}' for i in range(0, len(data), 20) if data[i + 10]))")
[ "$fires" = "25,25" ] || fail "the hexes with fire are \"$fires\", not hex (25, 25)"

# 4. Editing off, Actual Size: the view is as it was before fitting, pixel for pixel.
xdotool windowfocus --sync "$main" key Return key ctrl+0
back=$(settle)
[ "$(differing "$before" "$back" "$view_x" "$view_y" "$view_w" "$view_h")" = 0 ] ||
  fail "after Ctrl+0 the view differs from before Ctrl+/ in \
$(differing "$before" "$back" "$view_x" "$view_y" "$view_w" "$view_h") pixels"

# 5. Ctrl with the wheel turned up two notches over hex (4, 4): 200 %, with the same hex under
# the pointer, which a click and F set on fire in the file saved next.
read -r over_x over_y <<<"$(python3 -c "
print($view_x + 1 + 49 * 3 + 33, $view_y + 1 + 40 * 3 + 22 + 19)")"
xdotool key Return
xdotool mousemove "$over_x" "$over_y" keydown ctrl click 4 click 4 keyup ctrl
xdotool click 1 key f key ctrl+shift+s
dialog=$(find_window '^Write Map File$') || true
[ -n "$dialog" ] || fail "no save dialog"
sleep 0.3
xdotool windowfocus --sync "$dialog" key ctrl+a type --delay 20 "$work/wheeled"
xdotool key Return
gone '^Write Map File$'
answer '^Information$' Return
fires=$(python3 -c "
data = open('$work/wheeled.KVX', 'rb').read()
print(' '.join(f'{data[i]},{data[i + 1]}' for i in range(0, len(data), 20) if data[i + 10]))")
[ "$fires" = "4,4 25,25" ] || fail "after Ctrl and the wheel the hexes with fire are \"$fires\""

# 6. Ctrl++ twice more: 400 %, where each map pixel is a block of four by four screen pixels
# (the blocks start where the scrolled picture puts them: one of sixteen phases fits).
xdotool windowfocus --sync "$main" key Return key ctrl+plus key ctrl+equal
zoomed=$(settle)
blocky=
for dy in 0 1 2 3; do
  for dx in 0 1 2 3; do
    convert "$zoomed[64x64+$((view_x + 40 + dx))+$((view_y + 40 + dy))]" +repage "$work/patch.png"
    convert "$work/patch.png" -sample 25% -sample 400% "$work/blocks.png"
    [ "$(compare -metric AE "$work/patch.png" "$work/blocks.png" null: 2>&1 | cut -d' ' -f1)" = 0 ] &&
      blocky=yes
  done
done
[ -n "$blocky" ] || fail "at 400 % the view is not made of blocks of four by four pixels"
[ "$(differing "$back" "$zoomed" "$view_x" "$view_y" "$view_w" "$view_h")" != 0 ] ||
  fail "the zoom keys changed nothing"

xdotool key ctrl+q
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then fail "Ctrl+Q did not end the editor"; fi
wait "$pid" || fail "the editor ended with status $?"
echo "end-to-end zoom: all steps passed"
