#!/usr/bin/env bash
# cpack -G DEB into a temporary folder (the build tree keeps no trace), then the package's
# control data, its contents and lintian's verdict.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/packaging_checks.sh"
require_tools cpack dpkg-deb dpkg-shlibdeps lintian file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
deb=$work/gridcrafter_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work")"

dpkg-deb -I "$deb" >"$work/info"
dpkg-deb -c "$deb" >"$work/contents"
cat "$work/info"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = gridcrafter ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = graphics ] || fail "section $(field Section)"
depends=$(field Depends)
depends_names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
  qt6-qpa-plugins fonts-liberation; do
  grep -Fqx "$needed" <<<"$depends_names" || fail "Depends lacks $needed: $depends"
done

# The same files as cmake --install lays out, all root's.
awk '$6 !~ /\/$/ {sub(/^\.\//, "", $6); print $6}' "$work/contents" | sort >"$work/found"
expected_files | sort >"$work/expected"
diff -u "$work/expected" "$work/found" || fail "the package's files differ from the list above"
awk '$2 != "root/root" {print; bad = 1} END {exit bad}' "$work/contents" || fail "files not owned by root"

dpkg-deb -x "$deb" "$work/root"
for program in gridcrafter gridcrafter-render gridcrafter-sprites gridcrafter-check; do
  file "$work/root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done

# Lintian's warnings are advice; an error fails the package.
status=0
lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || status=$?
cat "$work/lintian"
! grep -q '^E: ' "$work/lintian" || fail "lintian reports errors"
[ "$status" -eq 0 ] || fail "lintian exited with status $status"
echo "package: $(basename "$deb"), $(wc -l <"$work/found") files, lintian without errors"
