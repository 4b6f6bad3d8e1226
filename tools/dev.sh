#!/usr/bin/env bash
# Gridcrafter developer entry point for a Debian 12 machine.
#   tools/dev.sh test     install what is missing, build, run every test
#   tools/dev.sh run      install what is missing, build, lay out a game folder, start the editor
#   tools/dev.sh install  install what is missing, nothing more
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${GC_BUILD_DIR:-$root/build}

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6test6 qt6-qpa-plugins
  libisal-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps openbox imagemagick poppler-utils python3 python3-xlib
  fonts-liberation fonts-dejavu-core fonts-bebas-neue
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db
)

install_missing() {
  bash "$root/tools/install-packages.sh" "${packages[@]}"
}

configure_and_build() {
  # CI sets GC_WERROR=ON: a warning fails its build.
  local werror=${GC_WERROR:-OFF}
  [ -n "${CI:-}" ] && werror=ON
  cmake -S "$root" -B "$build" -G Ninja -DGC_WERROR=$werror "$@"
  cmake --build "$build" -j2
}

run_tests() {
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$build/xdg-runtime}
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  ctest --test-dir "$build" --output-on-failure -j2
}

# xvfb-run can hand over before its server takes connections.
wait_for_display() {
  [ -n "${DISPLAY:-}" ] || return 0
  for _ in $(seq 1 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
}

# A game folder in the build tree: default sprite sheets, no settings file yet.
lay_out_game() {
  local game=$build/game
  mkdir -p "$game/Sprites" "$game/Gridcrafter"
  "$build/tools/gridcrafter-sprites" "$game/Sprites" >&2
  echo "$game/Gridcrafter"
}

case "${1:-}" in
  install)
    install_missing
    ;;
  test)
    install_missing
    configure_and_build
    run_tests
    ;;
  run)
    install_missing
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display: run it as  xvfb-run -a -s '-screen 0 1024x768x24' bash tools/dev.sh run"
      exit 1
    fi
    configure_and_build
    editor_dir=$(lay_out_game)
    wait_for_display
    cd "$editor_dir"
    exec "$build/app/gridcrafter"
    ;;
  *)
    echo "usage: tools/dev.sh test|run|install" >&2
    exit 2
    ;;
esac
