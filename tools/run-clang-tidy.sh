#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy and fails on any finding.
#   tools/run-clang-tidy.sh              every .cpp file of the repository that the build compiles
#   tools/run-clang-tidy.sh FILE.cpp...  only those (each must be one the build compiles)
# The build tree for it is build-tidy, or $GC_TIDY_BUILD_DIR: configured with clang, so that
# clang-tidy reads the flags it was made for, and with the fuzz targets, so that they are in
# the compile database too. Headers are checked through the .cpp files that include them.
set -euo pipefail
# Named files are taken relative to where the script was started.
requested=()
for file in "$@"; do
  requested+=("$(realpath -m -- "$file")")
done
cd "$(dirname "$0")/.."
root=$(pwd)
build=${GC_TIDY_BUILD_DIR:-$root/build-tidy}
began=$(date +%s)

bash tools/dev.sh install
bash tools/install-packages.sh clang clang-tidy

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DGC_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
  >/dev/null

# The sources include what moc and uic make from them. Building the *_autogen targets would
# build every library they link first, so run the generators directly, as those targets do.
while IFS= read -r -d '' info; do
  cmake -E cmake_autogen "$info" Debug
done < <(find "$build" -name AutogenInfo.json -print0)

# The repository's own .cpp files, as the compile database names them: generated ones are
# not in git, and a file that moves is found where it now is. A named file that is not among
# them is an error rather than a silent pass.
listed=$(python3 - "$build/compile_commands.json" "${requested[@]}" <<'PY'
import json, os, re, subprocess, sys
compiled = {os.path.realpath(os.path.join(e["directory"], e["file"])) for e in json.load(open(sys.argv[1]))}
tracked = subprocess.run(["git", "ls-files", "-z", "*.cpp"], check=True, capture_output=True).stdout
ours = {os.path.realpath(p) for p in tracked.decode().split("\0") if p} & compiled
wanted = {os.path.realpath(p) for p in sys.argv[2:]}
if wanted - ours:
    sys.exit("Not a .cpp file of the repository that the build compiles:\n  " + "\n  ".join(sorted(wanted - ours)))
for path in sorted(wanted or ours):
    print("^" + re.escape(path) + "$")
PY
)
mapfile -t sources <<<"$listed"
if [ -z "$listed" ]; then
  echo "No source of the repository is in $build/compile_commands.json" >&2
  exit 1
fi
echo "clang-tidy over ${#sources[@]} files"

# run-clang-tidy prints each command it ran, and clang counts the warnings it kept quiet in
# system headers; only the findings matter, in plain text for the log.
status=0
run-clang-tidy -p "$build" -j2 -quiet "${sources[@]}" 2>&1 |
  sed -E 's/\x1b\[[0-9;]*m//g; /^clang-tidy[-0-9]* /d; /^[0-9]+ warnings? generated\.$/d' ||
  status=$?
echo "clang-tidy took $(($(date +%s) - began)) s"
exit $status
