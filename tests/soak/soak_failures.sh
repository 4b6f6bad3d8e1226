#!/usr/bin/env bash
# The soak fails, and says why, when the editor crashes, hangs or leaves a sanitizer report:
# the real editor run through wrappers that do each to it.
#   soak_failures.sh <gridcrafter> <gridcrafter-sprites> <gridcrafter-check>
set -euo pipefail

editor=$(realpath "$1") sprites=$2 check=$3
soak=$(dirname "$0")/soak.py
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

wrapper() {
  local name=$1 body=$2
  printf '#!/usr/bin/env bash\n"%s" "$@" &\neditor=$!\ntrap '\''kill -KILL $editor'\'' TERM\n%s\nwait $editor\n' \
    "$editor" "$body" >"$work/$name"
  chmod +x "$work/$name"
}
wrapper crashes 'sleep 3; kill -SEGV $editor'
wrapper hangs 'sleep 3; kill -STOP $editor'
wrapper reports 'echo "Main.cpp:1:1: runtime error: made up for the test" >&2'

# Runs the soak over a wrapper; it must fail with status 1 and print what is asked for.
expect_failure() {
  local wrapper=$1 inputs=$2 limit=$3 reason=$4 status=0
  "$soak" --editor "$work/$wrapper" --sprites "$sprites" --check "$check" --seed 3 \
    --inputs "$inputs" --time-limit "$limit" --keep "$work/$wrapper.run" >"$work/$wrapper.out" 2>&1 || status=$?
  [ "$status" = 77 ] && { cat "$work/$wrapper.out"; exit 77; }
  local problem=
  [ "$status" = 1 ] || problem="status $status"
  for line in "FAILED at .*\(seed 3\): ($reason)" "replay with --seed 3 --inputs $inputs" \
              "the last inputs:" "the editor's log"; do
    grep -qE -- "soak: $line" "$work/$wrapper.out" || problem+=" no \"$line\""
  done
  [ -s "$work/$wrapper.run/failure.png" ] || problem+=" no screenshot"
  if [ -n "$problem" ]; then
    echo "FAIL: the soak over an editor that $wrapper:$problem"
    sed 's/^/  /' "$work/$wrapper.out"
    exit 1
  fi
}

expect_failure crashes 100000 60 "the editor ended with status [0-9-]+"
expect_failure hangs 100000 15 "the editor did not answer|the run took longer"
expect_failure reports 20 60 "a sanitizer reported in the editor's log"
echo "soak failures: all reported"
