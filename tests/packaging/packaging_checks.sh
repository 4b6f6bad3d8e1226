# What the install and package tests share: the file list and small helpers.

app_id=org.korvane.Gridcrafter
map_type=application/x-korvane-map
icon_sizes="16 22 24 32 48 64 128 256"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Exit 77 tells ctest the test was skipped: a tool is missing, not a fault found.
require_tools() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (tools/dev.sh installs it)"; exit 77; }
  done
}

# Every file the install puts below the root, without the leading slash.
expected_files() {
  local program sheet size
  for program in gridcrafter gridcrafter-render gridcrafter-sprites gridcrafter-check; do
    echo "usr/bin/$program"
    echo "usr/share/man/man1/$program.1.gz"
  done
  for sheet in Height EFFECTS GROUND MECHS ROAD RIVER; do
    echo "usr/share/gridcrafter/Sprites/$sheet.BMP"
  done
  for size in $icon_sizes; do
    echo "usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  done
  echo "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  echo "usr/share/applications/$app_id.desktop"
  echo "usr/share/metainfo/$app_id.metainfo.xml"
  echo "usr/share/mime/packages/$app_id.xml"
  echo "usr/share/thumbnailers/gridcrafter.thumbnailer"
  echo "usr/share/doc/gridcrafter/copyright"
  echo "usr/share/doc/gridcrafter/changelog.gz"
}
