#!/usr/bin/env bash
# Runs the stand-in player on the sample playlist, with the Sabla plug-in when one is built.
#
# Headless (the default): the scenario standin/demo-scenario.txt plays the sample song and
# leaves its screenshots in out/demo/ (cleared first), named after what they show, then a
# contact sheet of them, out/demo/contact-sheet.png.
# With --interactive and a display: the stand-in's window instead, played by hand through its
# transport bar until it is closed.
# Other arguments go to the stand-in (for example --size 800x600).
#
# The stand-in and the plug-in must be of one architecture. The shipped pair (dist/, 32-bit) is
# used where this machine runs 32-bit Wine; elsewhere the 64-bit test tree's pair (build/win32).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

interactive=0
extra=()
for arg in "$@"; do
  if [ "$arg" = --interactive ]; then interactive=1; else extra+=("$arg"); fi
done
if [ "$interactive" = 1 ] && [ -z "${DISPLAY:-}" ]; then
  echo "--interactive needs a display (DISPLAY is not set): running the headless demo instead" >&2
  interactive=0
fi

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

# The player plays a copy of the samples: the demo opens the options window, which saves the
# stamped timetags and the applied edit into the lyric file beside the song, and the
# repository's sample must stay as it is.
played=build/demo-samples
rm -rf "$played"
mkdir -p build
cp -r samples "$played"
args=(--playlist "$played/playlist.txt")
if [ -n "$plugin" ]; then
  args+=(--plugin "$plugin")
else
  echo "no Sabla.dll of the stand-in's architecture: running without the plug-in" >&2
fi

if [ "$interactive" = 1 ]; then
  echo "running $standin ${args[*]} ${extra[*]}"
  exec scripts/wine-run.sh "$standin" "${args[@]}" "${extra[@]}"
fi

shots=out/demo
rm -rf "$shots"
mkdir -p "$shots"
args+=(--headless --scenario standin/demo-scenario.txt)
echo "running $standin ${args[*]} ${extra[*]}"
status=0
scripts/wine-run.sh "$standin" "${args[@]}" "${extra[@]}" || status=$?
if [ "$status" -ne 0 ]; then
  echo "the stand-in ended with exit code $status" >&2
  exit "$status"
fi

frames=("$shots"/[0-9]*.png)
if [ ! -f "${frames[0]}" ]; then
  echo "the scenario left no screenshots in $shots" >&2
  exit 1
fi
# ImageMagick's default label font is a Ghostscript one that is often missing; the Japanese
# font the build installs anyway serves, and fontconfig's sans is the fallback.
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
[ -f "$font" ] || font=$(fc-match -f '%{file}' sans 2>/dev/null || true)
montage ${font:+-font "$font"} -pointsize 13 -label '%t' "${frames[@]}" \
  -tile 4x -geometry 320x240+6+6 -background '#e8e8e8' -depth 8 "$shots/contact-sheet.png"

echo "written:"
for file in "${frames[@]}" "$shots/contact-sheet.png"; do echo "  $file"; done
