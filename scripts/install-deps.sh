#!/usr/bin/env bash
# Installs the Debian packages Humbrook needs that are not there yet (as root, with apt-get).
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail

build_packages=(cmake make g++ pkg-config libpng-dev libfltk1.3-dev libsdl2-dev libsndfile1-dev)
test_packages=(git python3 googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format xvfb xdotool x11-utils desktop-file-utils shared-mime-info imagemagick)

packages=("${build_packages[@]}")
if [ "${1:-run}" = test ]; then packages+=("${test_packages[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Humbrook needs these Debian packages, which are missing: ${missing[*]}" >&2
  echo "Install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
