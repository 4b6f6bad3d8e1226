#!/usr/bin/env bash
# The real editor under Xvfb, opened from outside: --help and the mistakes of its command
# line, a map named on the command line with --game from another directory, the window's
# place and the recent maps kept for the next run, and the user's own game folder of a start
# outside any game.
#   end_to_end_command_line.sh <gridcrafter> <gridcrafter-sprites>
# Exits 77 (skipped) when the X tools are missing.
set -euo pipefail

source "$(dirname "$0")/xvfb_session.sh"
gc_run_inside_xvfb "$0" "$@" import convert

# ---- Inside the X server from here on.
work=$GC_WORK
game=$work/game
mkdir -p "$work/maps"

# A map whose first four columns are shallow water (ground 5), the rest grass: each record
# holds its column and row, then zeros but for the ground byte.
map=$work/maps/left.KVX
for x in $(seq 1 32); do
  ground=0
  [ "$x" -le 4 ] && ground=5
  for y in $(seq 1 32); do
    printf -v record '\\x%02x\\x%02x\\0\\0\\0\\0\\0\\0\\x%02x\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0' "$x" "$y" "$ground"
    printf "$record"
  done
done >"$map"
[ "$(stat -c %s "$map")" = 20480 ] || fail "the test map holds $(stat -c %s "$map") bytes"

# 1. --help, and the mistakes that end the run before any window, with status 2.
usage=$("$GC_EDITOR" --help) || fail "--help exited with status $?"
grep -q '^Usage: gridcrafter \[--game DIR\] \[MAP.KVX\]$' <<<"$usage" || fail "--help printed: $usage"
# In a terminal without a display too.
bare=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$GC_EDITOR" --help 2>&1) ||
  fail "--help without a display exited with status $?: $bare"
[ "$bare" = "$usage" ] || fail "--help without a display printed: $bare"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$GC_EDITOR" --version 2>&1) ||
  fail "--version without a display exited with status $?: $version"
[[ "$version" =~ ^gridcrafter\ [0-9]+\.[0-9]+$ ]] || fail "--version printed: $version"
status=0
"$GC_EDITOR" --bogus >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "an unknown option exited with status $status"
[ ! -s "$work/out" ] || fail "an unknown option printed on standard output"
grep -q "Unknown option 'bogus'" "$work/err" && grep -q '^Usage: gridcrafter' "$work/err" ||
  fail "an unknown option printed: $(cat "$work/err")"
status=0
"$GC_EDITOR" --game "$work/maps" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "a game folder without its editor folder exited with status $status"
grep -q "Cannot enter $work/maps/Gridcrafter" "$work/err" || fail "no reason given: $(cat "$work/err")"

# 2. Started in the work folder with a game folder and a map both named relative to it: the
# editor works in game/Gridcrafter (the settings file is written beside it) and shows the map.
gc_start_editor "$work" --game game maps/left.KVX
press_in_window '^Korvane : Gridcraft$' Return
press_in_window '^Warning$' Return
main=$(find_window "^Korvane Gridcrafter : $map\$") || true
[ -n "$main" ] || fail "the caption does not name $map"
[ -f "$game/Korvane.INI" ] || fail "the settings file was not written in the game folder"
eval "$(xdotool getwindowgeometry --shell "$main")"

# Mean blue minus mean red, 0 to 255, of a rectangle of the screen.
blueness() {
  import -window root -crop "${3}x${4}+$1+$2" +repage "$work/part.png"
  convert "$work/part.png" -resize '1x1!' -format '%[fx:int(255*(b-r))]' info:
}
sleep 0.5
water=$(blueness $((X + 20)) $((Y + 80)) 150 200)
grass=$(blueness $((X + 450)) $((Y + 80)) 150 200)
[ "$water" -gt $((grass + 30)) ] || fail "the map's water columns do not show ($water against $grass)"

# 3. Moved and resized, then closed: the next run comes back there, and lists the map.
xdotool windowmove --sync "$main" 40 30
xdotool windowsize --sync "$main" 700 520
sleep 0.3
xdotool windowfocus --sync "$main" key ctrl+q
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "Ctrl+Q did not end the editor"; fi
grep -qF "$map" "$XDG_CONFIG_HOME/Gridcrafter/Gridcrafter.conf" ||
  fail "the map is not among the recent maps of $XDG_CONFIG_HOME/Gridcrafter/Gridcrafter.conf"

gc_start_editor
press_in_window '^Korvane : Gridcraft$' Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no clean map on the second run"
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$X $Y $WIDTH $HEIGHT" = "40 30 700 520" ] ||
  fail "the window came back at $X,$Y as ${WIDTH}x$HEIGHT, not at 40,30 as 700x520"

# 4. Files, Recent maps (the third entry), its first map: loaded as Load loads it.
xdotool windowfocus --sync "$main"
xdotool mousemove $((X + 20)) $((Y + 8)) click 1
sleep 0.5
xdotool key Down Down Down Right
sleep 0.3
xdotool key 1
[ -n "$(find_window "^Korvane Gridcrafter : $map\$")" ] || fail "the recent map was not loaded"
sleep 0.5
water=$(blueness $((X + 20)) $((Y + 80)) 150 200)
[ "$water" -gt $((grass + 30)) ] || fail "the recent map's water columns do not show"

kill "$pid"
wait "$pid" 2>/dev/null || true

# 5. Started in a plain folder, no game beside it: the user's own game folder is laid out
# with the sheets beside the editor, the start-up warns of the missing settings file and
# writes it there, and the clean map shows. Nothing is written where it was started.
user_game=$XDG_DATA_HOME/gridcrafter/game
[ ! -e "$user_game" ] || fail "$user_game exists before the first start"
plain=$work/plain/start
mkdir -p "$plain"
gc_start_editor "$plain"
press_in_window '^Korvane : Gridcraft$' Return
press_in_window '^Warning$' Return
main=$(find_window '^Korvane Gridcrafter : NewMap$') || true
[ -n "$main" ] || fail "no clean map when started in a plain folder"
for sheet in "$game"/Sprites/*; do
  cmp -s "$sheet" "$user_game/Sprites/$(basename "$sheet")" || fail "$(basename "$sheet") was not laid out"
done
[ -d "$user_game/Gridcrafter" ] || fail "no editor folder in $user_game"
[ -f "$user_game/Korvane.INI" ] || fail "the settings file was not written in $user_game"
[ -z "$(ls -A "$plain")" ] && [ "$(ls -A "$work/plain")" = start ] ||
  fail "files were written where the editor started: $(ls -AR "$work/plain")"
eval "$(xdotool getwindowgeometry --shell "$main")"
sleep 0.5
import -window root -crop "150x150+$((X + 30))+$((Y + 80))" +repage "$work/part.png"
light=$(convert "$work/part.png" -resize '1x1!' -format '%[fx:int(255*mean)]' info:)
[ "$light" -gt 20 ] || fail "the map view stays dark ($light): the sheets did not load"
kill "$pid"
wait "$pid" 2>/dev/null || true

# 6. The next start from a plain folder finds the folder as it was left: no warning.
gc_start_editor "$plain"
press_in_window '^Korvane : Gridcraft$' Return
[ -n "$(find_window '^Korvane Gridcrafter : NewMap$')" ] || fail "no clean map on the second plain start"
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)" ] ||
  fail "a warning on the second start in the user's game folder"
kill "$pid"
wait "$pid" 2>/dev/null || true

# 7. A game folder of one's own that cannot be made: a warning says which, and the run ends
# with status 1 before any other window.
XDG_DATA_HOME=$work/not-a-folder
touch "$XDG_DATA_HOME"
gc_start_editor "$plain"
press_in_window '^Warning$' Return
status=0
wait "$pid" || status=$?
[ "$status" = 1 ] || fail "a game folder that cannot be made ended the run with status $status"
echo "end-to-end command line: all steps passed"
