#!/usr/bin/env bash
# Installs what the build and the tests need, and only what is missing, so a second run is quiet.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake ninja-build make g++ mingw-w64 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
         binutils-mingw-w64-i686 xvfb xauth fonts-wine fonts-ipafont-gothic googletest libgtest-dev \
         imagemagick qemu-user-static; do
  have_pkg "$p" || need+=("$p")
done
have_pkg wine32:i386 || need+=(wine32:i386)
have_pkg wine || need+=(wine)

if [ ${#need[@]} -eq 0 ]; then
  exec "$(dirname "$0")/enable-i386.sh"
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${need[*]} (run as root to install them)" >&2
  exit 1
fi

echo "installing: ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}"

"$(dirname "$0")/enable-i386.sh"
