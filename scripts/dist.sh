#!/usr/bin/env bash
# Collects what ships (and the stand-in player) into dist/. The build tree keeps its debug
# information; the copies in dist/ are stripped, as a user installs them. Then packs the
# release archive, dist/Sabla-<version>.zip: the library, its help file and the read-me.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p dist
for f in build/i686/src/host/Sabla.dll build/i686/standin/standin.exe; do
  [ -f "$f" ] && i686-w64-mingw32-strip -o "dist/$(basename "$f")" "$f"
done
# The plug-in opens its help from its own folder, so the help file travels beside it.
cp build/i686/src/host/Sabla.chm dist/Sabla.chm

# The version is the one the resource script puts into the library's version resource.
version_part() {
  sed -n "s/^#define SABLA_VERSION_$1 \\([0-9][0-9]*\\)\$/\\1/p" src/state/version.h
}
version="$(version_part MAJOR).$(version_part MINOR).$(version_part PATCH).$(version_part BUILD)"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] \
  || { echo "cannot read the version from src/state/version.h" >&2; exit 1; }

# The read-me is kept as UTF-8 with LF; Notepad of every Windows version reads it right with
# a byte-order mark and CR LF.
readme='はじめにお読みください.txt'
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp dist/Sabla.dll dist/Sabla.chm "$stage/"
{ printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "docs/release/$readme"; } >"$stage/$readme"

# Packed with Python's zipfile rather than Info-ZIP's zip: zip 3.0 writes the Japanese name as
# UTF-8 but never sets the UTF-8 flag (general purpose bit 11), even with -UN=UTF8, so Explorer
# reads the name in the OEM code page and shows garbage. zipfile sets the flag for every name
# that is not ASCII.
archive="dist/Sabla-$version.zip"
rm -f "$archive"
python3 - "$archive" "$stage" Sabla.dll Sabla.chm "$readme" <<'PY'
import pathlib, sys, zipfile
archive, stage, names = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3:]
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in names:
        z.write(stage / name, name)
PY
ls -l dist
