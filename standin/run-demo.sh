#!/usr/bin/env bash
# Runs the stand-in player headless on the sample playlist, with the Sabla plug-in when one is
# built, through the short scenario in standin/demo-scenario.txt, which leaves its screenshot at
# out/standin.png. Extra arguments go to the stand-in (for example --size 800x600).
#
# The stand-in and the plug-in must be of one architecture. The shipped pair (dist/, 32-bit) is
# used where this machine runs 32-bit Wine; elsewhere the 64-bit test tree's pair (build/win32).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

standin=""
plugin=""
for candidate in dist/standin.exe build/i686/standin/standin.exe build/win32/standin/standin.exe; do
  [ -f "$candidate" ] || continue
  if [ "$(arch_of "$candidate")" = win32 ] && ! i386_runs; then
    echo "skipping $candidate: this machine cannot run 32-bit Windows programs" >&2
    continue
  fi
  standin=$candidate
  break
done
if [ -z "$standin" ]; then
  echo "no stand-in to run: build it first (make dist, or cmake --build --preset win32 --target standin)" >&2
  exit 1
fi

for candidate in dist/Sabla.dll build/i686/src/host/Sabla.dll build/win32/src/host/Sabla.dll; do
  if [ -f "$candidate" ] && [ "$(arch_of "$candidate")" = "$(arch_of "$standin")" ]; then
    plugin=$candidate
    break
  fi
done

mkdir -p out
rm -f out/standin.png
args=(--headless --playlist samples/playlist.txt --scenario standin/demo-scenario.txt)
if [ -n "$plugin" ]; then
  args+=(--plugin "$plugin")
else
  echo "no Sabla.dll of the stand-in's architecture: running without the plug-in" >&2
fi
echo "running $standin ${args[*]} $*"
status=0
scripts/wine-run.sh "$standin" "${args[@]}" "$@" || status=$?
[ "$status" -eq 0 ] && [ -f out/standin.png ] && echo "screenshot: out/standin.png"
exit "$status"
