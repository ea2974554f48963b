#!/usr/bin/env bash
# Collects what ships (and the stand-in player) into dist/. The build tree keeps its debug
# information; the copies in dist/ are stripped, as a user installs them.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist
for f in build/i686/src/host/Sabla.dll build/i686/standin/standin.exe; do
  [ -f "$f" ] && i686-w64-mingw32-strip -o "dist/$(basename "$f")" "$f"
done
ls -l dist
