#!/usr/bin/env bash
# Collects what ships (and the stand-in player) into dist/.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist
for f in build/i686/src/host/Sabla.dll build/i686/standin/standin.exe; do
  [ -f "$f" ] && cp -f "$f" dist/
done
ls dist
