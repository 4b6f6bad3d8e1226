#!/usr/bin/env bash
# Whole-process times of gridcrafter-render against Tiled's tmxrasterizer, each comparison in one
# hyperfine run: our busiest map (every overlay on every hex, joins in all six directions) and a
# clean map, each drawn from the default sheets into a 1590 by 1301 bitmap, then into a PNG, and
# a TMX map of the same pixel size (32 by 32 staggered hexes, three full tile layers) rasterized
# into the same kind of file; a 256-pixel thumbnail of the clean map against tmxrasterizer
# --size 256, beside our tool doing nothing but start (--version); and a batch of 50 maps
# (overlays on none to all of the hexes) in one --out-dir run against 50 runs of tmxrasterizer,
# PNG both.
#
#   bench/versus-tmxrasterizer.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build/ of this checkout, RUNS to 60. Installs tiled and hyperfine with
# apt-get when they are missing. Prints hyperfine's tables, then how many times faster our
# runs are, then the peak memory of each tool (/usr/bin/time -v).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-60}
render=$build/tools/gridcrafter-render
sprites=$build/tools/gridcrafter-sprites
for tool in "$render" "$sprites"; do
  [ -x "$tool" ] || { echo "missing $tool: build first (bash tools/dev.sh test)" >&2; exit 1; }
done

bash "$root/tools/install-packages.sh" tiled hyperfine imagemagick time

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A game folder with the default sheets; a first run writes its settings file.
game=$work/game
mkdir -p "$game/Sprites" "$game/Gridcrafter"
"$sprites" "$game/Sprites" >/dev/null

# Map files: 32 by 32 cells of 20 bytes, column by column. The busy map has random heights
# and ground and every overlay with mines on every hex; the clean one flat grass.
write_map() { # busy (1) or clean (0), file, seed, percent of hexes with overlays for a busy map
  perl -e '
    my ($busy, $seed, $chance) = @ARGV;
    srand($seed);
    for my $x (1 .. 32) {
      for my $y (1 .. 32) {
        my $on = sub { $chance >= 100 || rand(100) < $chance ? 1 : 0 };
        my @cell = $busy ? (int(rand(7)), int(rand(16)), 10 * $on->(), map { $on->() } 1 .. 5) : (0) x 8;
        print pack("CCx2l<CCC5xl<", $x, $y, @cell, 0);
      }
    }' "$1" "${3:-20240613}" "${4:-100}" > "$2"
}
write_map 1 "$game/Gridcrafter/busy.kvx"
write_map 0 "$game/Gridcrafter/clean.kvx"
mkdir -p "$game/Gridcrafter/batch"
for i in $(seq 1 50); do
  write_map 1 "$game/Gridcrafter/batch/map$i.kvx" "$i" $(( (i - 1) * 100 / 49 ))
done
(cd "$game/Gridcrafter" && "$render" clean.kvx warm.bmp 2>/dev/null)

# The TMX map: flat-topped hexes in staggered columns, tiles 66 by 40 with 32-pixel sides,
# which Tiled lays out in 1585 by 1300 pixels; the top layer's offset of (5, 1) widens the
# picture to our 1590 by 1301. Eight tiles: ground hexes and two kinds of overlay with
# transparent surroundings, so that every layer is blended over the one below.
tmx=$work/tmx
mkdir -p "$tmx"
hex_polygon() { # left edge x of the tile, inset
  local l=$1 i=$2
  echo "polygon $((l + 17 + i)),$i $((l + 48 - i)),$i $((l + 65 - i)),20 $((l + 48 - i)),$((39 - i)) $((l + 17 + i)),$((39 - i)) $((l + i)),20"
}
draw=()
colours=(forestgreen olivedrab sienna goldenrod steelblue slategray firebrick khaki)
for t in 0 1 2 3 4 5 6 7; do
  case $t in
    0|1|2|3) draw+=(-fill "${colours[t]}" -draw "$(hex_polygon $((66 * t)) 0)") ;;
    4|5) draw+=(-fill "${colours[t]}" -draw "$(hex_polygon $((66 * t)) 8)") ;;
    *) draw+=(-fill "${colours[t]}" -draw "circle $((66 * t + 33)),20 $((66 * t + 33)),28") ;;
  esac
done
convert -size 528x40 xc:none "${draw[@]}" "$tmx/tiles.png"
layer_csv() { # first tile id, tile ids to choose from
  perl -e '
    srand(7 + $ARGV[0]);
    my ($first, $count) = @ARGV;
    print join(",\n", map { join(",", map { $first + int(rand($count)) } 1 .. 32) } 1 .. 32);' "$1" "$2"
}
cat > "$tmx/map.tmx" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" tiledversion="1.8.2" orientation="hexagonal" renderorder="right-down" width="32" height="32" tilewidth="66" tileheight="40" infinite="0" hexsidelength="32" staggeraxis="x" staggerindex="odd" nextlayerid="4" nextobjectid="1">
 <tileset firstgid="1" name="terrain" tilewidth="66" tileheight="40" tilecount="8" columns="8">
  <image source="tiles.png" width="528" height="40"/>
 </tileset>
 <layer id="1" name="ground" width="32" height="32">
  <data encoding="csv">
$(layer_csv 1 4)
</data>
 </layer>
 <layer id="2" name="features" width="32" height="32">
  <data encoding="csv">
$(layer_csv 5 2)
</data>
 </layer>
 <layer id="3" name="marks" width="32" height="32" offsetx="5" offsety="1">
  <data encoding="csv">
$(layer_csv 7 2)
</data>
 </layer>
</map>
EOF

export QT_QPA_PLATFORM=offscreen
tmxrasterizer "$tmx/map.tmx" "$tmx/out.bmp"
size=$(identify -format '%wx%h' "$tmx/out.bmp")
[ "$size" = 1590x1301 ] || { echo "tmxrasterizer drew $size, not 1590x1301" >&2; exit 1; }

# Each run writes a new file, as a user's would: replacing the last run's output would add
# the time of dropping its 6 MB from the page cache, to every tool alike.
cd "$game/Gridcrafter"
compare() { # name of the comparison, then hyperfine's arguments
  local name=$1
  shift
  hyperfine -N --warmup 5 --export-csv "$work/$name.csv" "$@"
  echo
}
compare bitmap --runs "$runs" \
  --prepare "rm -f busy.bmp clean.bmp $tmx/out.bmp" \
  -n busy "$render busy.kvx busy.bmp" \
  -n clean "$render clean.kvx clean.bmp" \
  -n tmxrasterizer "tmxrasterizer $tmx/map.tmx $tmx/out.bmp"
compare png --runs "$runs" \
  --prepare "rm -f busy.png clean.png $tmx/out.png" \
  -n busy "$render busy.kvx busy.png" \
  -n clean "$render clean.kvx clean.png" \
  -n tmxrasterizer "tmxrasterizer $tmx/map.tmx $tmx/out.png"
compare thumbnail --runs "$runs" \
  --prepare "rm -f thumb.png $tmx/thumb.png" \
  -n thumbnail "$render --size 256 clean.kvx thumb.png" \
  -n tmxrasterizer "tmxrasterizer --size 256 $tmx/map.tmx $tmx/thumb.png" \
  -n start "$render --version"
batch_runs=$(( runs / 6 > 5 ? runs / 6 : 5 ))
# hyperfine -N runs no shell: the fresh output folders and the loop are scripts of their own.
# Each command's own folder made fresh before its runs alone, so both are whole at the end.
echo "rm -rf out && mkdir out" >"$work/prepare-batch.sh"
echo "rm -rf '$tmx/batch' && mkdir '$tmx/batch'" >"$work/prepare-tmx-batch.sh"
echo "for i in \$(seq 1 50); do tmxrasterizer '$tmx/map.tmx' '$tmx/batch/map'\$i.png || exit 1; done" \
  >"$work/tmx-batch.sh"
compare batch --runs "$batch_runs" \
  --prepare "bash $work/prepare-batch.sh" --prepare "bash $work/prepare-tmx-batch.sh" \
  -n batch "$render --out-dir out $(echo batch/*.kvx)" \
  -n tmxrasterizer "bash $work/tmx-batch.sh"
[ "$(ls out | wc -l)" = 50 ] && [ "$(ls "$tmx/batch" | wc -l)" = 50 ] ||
  { echo "the batches did not write 50 pictures each" >&2; exit 1; }

ratio() { # comparison, our row, label
  awk -F, -v ours="$2" -v label="$3" '
    NR > 1 { mean[$1] = $2; median[$1] = $4 }
    END {
      printf "%-32s %.2f times (means), %.2f times (medians)\n", label,
        mean["tmxrasterizer"] / mean[ours], median["tmxrasterizer"] / median[ours]
    }' "$work/$1.csv"
}
ratio bitmap busy "tmxrasterizer / busy:"
ratio bitmap clean "tmxrasterizer / clean:"
ratio png busy "tmxrasterizer / busy PNG:"
ratio png clean "tmxrasterizer / clean PNG:"
ratio thumbnail thumbnail "tmxrasterizer / thumbnail 256:"
# What no picture of ours can beat: the tool started, its libraries loaded, and ended.
ratio thumbnail start "tmxrasterizer thumbnail / start:"
ratio batch batch "50 tmxrasterizer / batch of 50:"

peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { print $2 }'; }
echo "peak memory, busy:            $(peak "$render" busy.kvx busy.bmp) KB"
echo "peak memory, clean:           $(peak "$render" clean.kvx clean.bmp) KB"
echo "peak memory, busy PNG:        $(peak "$render" busy.kvx busy.png) KB"
echo "peak memory, clean PNG:       $(peak "$render" clean.kvx clean.png) KB"
echo "peak memory, thumbnail:       $(peak "$render" --size 256 clean.kvx thumb.png) KB"
echo "peak memory, batch of 1:      $(peak "$render" --out-dir out batch/map50.kvx) KB"
echo "peak memory, batch of 50:     $(peak "$render" --out-dir out batch/*.kvx) KB"
largest=0
for map in batch/*.kvx; do
  kb=$(peak "$render" --out-dir out "$map")
  if [ "$kb" -gt "$largest" ]; then largest=$kb; fi
done
echo "peak memory, largest one map:  $largest KB (the batch's maps each alone)"
echo "peak memory, tmxrasterizer:   $(peak tmxrasterizer "$tmx/map.tmx" "$tmx/out.bmp") KB"
echo "file sizes, busy PNG:         $(stat -c %s busy.png) bytes, clean PNG: $(stat -c %s clean.png) bytes"
