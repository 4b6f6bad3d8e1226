#!/usr/bin/env bash
# Installs those of the named Debian packages that are not installed yet, as root or through sudo.
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
# A fresh machine can come up with a package left half configured, and apt refuses to install
# anything until dpkg has finished it; dpkg may also still be busy with the machine's own start.
for attempt in 1 2 3 4 5 6; do
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive dpkg --configure -a && break
  echo "dpkg --configure -a failed (attempt $attempt); waiting before the next try"
  sleep 10
done
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
