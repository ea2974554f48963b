#!/usr/bin/env bash
# Checks the shipped 32-bit DLL as a file, then runs the i686 test programs under 32-bit Wine
# when this machine can run i386 programs at all.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
scripts/check-dll.sh dist/Sabla.dll
if i386_runs; then
  ctest --preset i686
else
  echo "i686 tests not run: this machine refuses i386 programs (exec format error), so 32-bit"
  echo "Wine cannot start; the same tests run below in the x86_64 tree under 64-bit Wine."
fi
