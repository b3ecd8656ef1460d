#!/bin/bash
# Installs the Debian 12 packages the project needs (run as root).
#   bash scripts/install-deps.sh          # what the native build needs
#   bash scripts/install-deps.sh --all    # and the Windows builds, Wine, the
#                                         # virtual display and the fuzzers
set -euo pipefail

packages=(cmake make g++ libcli11-dev googletest zlib1g-dev nlohmann-json3-dev
          help2man python3 python3-pil time)
if [ "${1:-}" = --all ]; then
  # The 32-bit Windows build ships, so its tests run under 32-bit Wine.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  packages+=(clang libclang-rt-14-dev
             g++-mingw-w64-x86-64 g++-mingw-w64-i686 libz-mingw-w64-dev
             wine wine64 wine32:i386 fonts-wine fonts-liberation xvfb xauth
             libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3
             lintian fakeroot file dpkg-dev zip unzip groff-base man-db)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
