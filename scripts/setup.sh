#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and only what is missing.
set -euo pipefail

packages=(g++ cmake ninja-build pkgconf qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libbenchmark-dev clang libclang-rt-14-dev desktop-file-utils dpkg-dev
          xvfb xauth xdotool x11-utils libhamlib-utils libhamlib-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
