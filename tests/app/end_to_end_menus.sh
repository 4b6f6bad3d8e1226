#!/usr/bin/env bash
# The real editor under Xvfb, without a window manager or under openbox: Files opened with a
# click and closed with Escape leaves the menu bar taking the keys; a click on a hex of the
# map gives them back to the editor, so F sets that hex's fire, and Ctrl+S saves the map into
# its own file at once.
#   end_to_end_menus.sh <gridcrafter> <gridcrafter-sprites> [openbox]
# Exits 77 (skipped) when the X tools or openbox are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
if [ "${1:-}" != --inside ]; then
  export GC_WINDOW_MANAGER=${3:-}
  /usr/bin/python3 -c 'import Xlib' 2>/dev/null || { echo "SKIP: python3-xlib is not installed"; exit 77; }
  gc_run_inside_xvfb "$0" "$1" "$2" convert import /usr/bin/python3 $GC_WINDOW_MANAGER
fi

# ---- Inside the X server from here on.
work=$GC_WORK
if [ "$GC_WINDOW_MANAGER" = openbox ]; then
  # Openbox runs its start-up command once it manages the screen.
  openbox --startup "touch $work/openbox-up" >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  for _ in $(seq 1 100); do [ -e "$work/openbox-up" ] && break; sleep 0.1; done
  [ -e "$work/openbox-up" ] || fail "openbox did not start"
fi

# A map of zero bytes, so that the fire flag set below is the only byte that changes.
map=$work/maps/start.KVX
mkdir -p "$work/maps"
head -c 20480 /dev/zero >"$map"
gc_start_editor "$GC_WORK/game/Gridcrafter" "$map"
if [ -n "${openbox_pid:-}" ]; then
  trap 'kill "$pid" "$openbox_pid" 2>/dev/null || true' EXIT
fi

press_in_window '^Korvane : Gridcraft$' Return
press_in_window '^Warning$' Return
main=$(find_window "^Korvane Gridcrafter : $map\$") || true
[ -n "$main" ] || fail "no main window with the map's caption"
eval "$(xdotool getwindowgeometry --shell "$main")"
# Where the window's own area starts on the screen; under a window manager xdotool gives the
# place of the frame around it.
read -r win_x win_y <<<"$(/usr/bin/python3 -c '
import sys
from Xlib import display
screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1]))
corner = window.translate_coords(screen.screen().root, 0, 0)
print(-corner.x, -corner.y)' "$main")"

# Editing on.
xdotool windowfocus --sync "$main" key Return
sleep 0.3

# Files by a click on its title, then Escape: the menu closes, the menu bar keeps the keys.
# Whether the window's area under the Files title differs between two screenshots.
under_files_differs() {
  [ "$(convert "$1" "$2" -crop "100x80+$win_x+$((win_y + 24))" +repage -compose difference \
    -composite -format '%[fx:maxima>0?1:0]' info:)" = 1 ]
}
import -window root "$work/closed.png"
xdotool mousemove $((win_x + 20)) $((win_y + 8)) click 1
sleep 0.5
import -window root "$work/open.png"
under_files_differs "$work/closed.png" "$work/open.png" || fail "Files opened no menu"
xdotool key Escape
sleep 0.3
import -window root "$work/escaped.png"
under_files_differs "$work/closed.png" "$work/escaped.png" && fail "Escape left the menu open"

# A click on hex (5, 7), whose sprite cell is at (196, 242) of the map image. The map view is
# what stands out from the window's background below the buttons, inside a frame of about 2
# pixels.
import -window root "$work/view.png"
read -r view_x view_y <<<"$(convert "$work/view.png" \
  -crop "${WIDTH}x$((HEIGHT - 45 - 19))+$win_x+$((win_y + 45))" +repage -trim -format '%X %Y' info: |
  tr -d +)"
xdotool mousemove $((win_x + view_x + 2 + 196 + 33)) $((win_y + 45 + view_y + 2 + 242 + 19)) click 1
sleep 0.3
xdotool key f
sleep 0.3
xdotool key ctrl+s

# Cell (5, 7) is record 4 * 32 + 6; its fire flag is byte 10 of it.
fire() { od -An -tu1 -j$(((4 * 32 + 6) * 20 + 10)) -N1 "$map" | tr -d ' '; }
for _ in $(seq 1 50); do
  [ "$(fire)" = 1 ] && break
  sleep 0.1
done
[ "$(fire)" = 1 ] || fail "after Escape, a click on hex (5, 7), F and Ctrl+S the map file has no fire there"
[ "$(tr -d '\0' <"$map" | wc -c)" = 1 ] || fail "more than the fire flag of hex (5, 7) changed"
[ -z "$(xdotool search --onlyvisible --name '^(Write Map File|Information)$' 2>/dev/null)" ] ||
  fail "Ctrl+S on a map with a file opened a dialog or a box"

kill "$pid"
echo "end-to-end menus${GC_WINDOW_MANAGER:+ under $GC_WINDOW_MANAGER}: all steps passed"
