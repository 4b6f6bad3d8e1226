#!/usr/bin/env bash
# cmake --install into a temporary DESTDIR, then every file checked the way a desktop
# and a user would read it.
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packaging_checks.sh"
require_tools desktop-file-validate appstreamcli man update-mime-database identify file cmp

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"
usr=$work/root/usr

# Exactly the expected files: a missing one and a stray one are both faults.
(cd "$work/root" && find . -type f | sed 's|^\./||' | sort) >"$work/found"
expected_files | sort >"$work/expected"
diff -u "$work/expected" "$work/found" || fail "the installed files differ from the list above"
[ -z "$(find "$work/root" -type d ! -perm 755)" ] || fail "folders that are not rwxr-xr-x"
[ -z "$(find "$usr/share" -type f ! -perm 644)" ] || fail "data files that are not rw-r--r--"

for program in gridcrafter gridcrafter-render gridcrafter-sprites gridcrafter-check; do
  [ -x "$usr/bin/$program" ] || fail "$program is not executable"
done
[ "$("$usr/bin/gridcrafter-check" --version)" = "gridcrafter-check $version" ] ||
  fail "gridcrafter-check does not report version $version"

# The installed sheets are the ones the installed tool draws.
"$usr/bin/gridcrafter-sprites" "$work/sheets" >/dev/null
for sheet in "$work"/sheets/*; do
  cmp "$sheet" "$usr/share/gridcrafter/Sprites/$(basename "$sheet")" || fail "stale sheet $(basename "$sheet")"
done

# Started in a plain folder, the installed editor finds the installed sheets beside its bin
# folder and lays out the user's own game folder with them, before any window shows.
mkdir -p "$work/plain" "$work/runtime" && chmod 700 "$work/runtime"
user_game=$work/data/gridcrafter/game
(cd "$work/plain" && XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
  XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  exec "$usr/bin/gridcrafter") \
  >"$work/editor.log" 2>&1 &
editor=$!
laid_out() {
  [ -d "$user_game/Gridcrafter" ] || return 1
  for sheet in "$work"/sheets/*; do
    cmp -s "$sheet" "$user_game/Sprites/$(basename "$sheet")" || return 1
  done
}
for _ in $(seq 1 100); do laid_out && break; sleep 0.1; done
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
laid_out || fail "the installed editor did not lay out $user_game: $(ls -R "$work/data" 2>&1; cat "$work/editor.log")"
[ -z "$(ls -A "$work/plain")" ] || fail "the editor wrote into the folder it was started in"

# The thumbnailer's Exec line run as a file manager runs it: %s a size, %u the map's URI (a
# space and a non-ASCII letter in its path, percent-encoded), %o the output path; from a
# folder that is no game's, without a game folder of the user's, so from the installed sheets.
thumbnailer=$usr/share/thumbnailers/gridcrafter.thumbnailer
grep -qx 'TryExec=gridcrafter-render' "$thumbnailer" || fail "the thumbnailer tries no gridcrafter-render"
grep -qx "MimeType=$map_type;" "$thumbnailer" || fail "the thumbnailer is not for $map_type"
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
[ "$exec_line" = 'gridcrafter-render --size %s %u %o' ] || fail "the thumbnailer runs $exec_line"
mkdir -p "$work/my maps" "$work/thumbs"
perl -e 'for my $x (1 .. 32) { for my $y (1 .. 32) { print pack("CCx2l<CCC5xl<", $x, $y, 0, 0, 0, 0) } }' \
  >"$work/my maps/Küste.KVX"
uri=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$work/my maps/Küste.KVX")
[[ $uri == *%20* && $uri == *%C3%BC* ]] || fail "the map's URI $uri is not percent-encoded"
command=${exec_line//%s/128}
command=${command//%u/$uri}
command=${command//%o/$work/thumbs/out.png}
read -r -a words <<<"$command"
(cd "$work/plain" && PATH=$usr/bin:$PATH XDG_DATA_HOME=$work/no-data env -u QT_QPA_PLATFORM "${words[@]}") \
  >"$work/thumb.out" 2>"$work/thumb.err" || fail "the thumbnailer failed: $(cat "$work/thumb.err")"
[ ! -s "$work/thumb.err" ] || fail "the thumbnailer wrote on standard error: $(cat "$work/thumb.err")"
got=$(identify -format '%m %wx%h' "$work/thumbs/out.png")
[ "$got" = "PNG 128x105" ] || fail "the thumbnail is $got"
[ "$(convert "$work/thumbs/out.png" -format '%[fx:mean>0.05]' info:)" = 1 ] || fail "the thumbnail is black"
[ -z "$(ls -A "$work/plain")" ] || fail "the thumbnailer wrote into the folder it was started in"
[ ! -e "$work/no-data" ] || fail "the thumbnailer made a game folder"

for size in $icon_sizes; do
  got=$(identify -format '%m %wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  [ "$got" = "PNG ${size}x${size}" ] || fail "icon of ${size}x${size} is $got"
done
file -b "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" | grep -q "^SVG Scalable Vector Graphics image" ||
  fail "the scalable icon is no SVG"

desktop=$usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli rejects the metainfo"
grep -qx 'Exec=gridcrafter %f' "$desktop" || fail "the launcher does not pass the map it opens"
grep -qx "MimeType=$map_type;" "$desktop" || fail "the launcher does not offer itself for $map_type"
grep -q "<release version=\"$version\"" "$usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo's release is not $version"
zcat "$usr/share/doc/gridcrafter/changelog.gz" | head -1 | grep -q "^gridcrafter ($version) " ||
  fail "the changelog does not begin with $version"

# The type is known once the MIME database is built, and maps match in any letter case.
cp -r "$usr/share/mime" "$work/mime"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 ||
  fail "update-mime-database rejects the type: $(cat "$work/mime.log")"
grep -qx "$map_type" "$work/mime/types" || fail "$map_type is not in the built MIME database"
grep -q "^50:$map_type:\*\.kvx$" "$work/mime/globs2" || fail "no case-insensitive *.kvx glob"

for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  MANWIDTH=80 man -E UTF-8 -l "$page" | grep -q "^NAME" || fail "$(basename "$page") shows no NAME"
done
echo "install tree: $(wc -l <"$work/found") files checked"
