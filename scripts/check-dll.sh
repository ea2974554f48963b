#!/usr/bin/env bash
# The shipped DLL: 32-bit, exactly one export (iTunesPluginMain), and imports only from DLLs
# that every Windows has (no libstdc++, libgcc or winpthread beside it).
set -euo pipefail
dll=${1:-dist/Sabla.dll}
[ -f "$dll" ] || { echo "check-dll: $dll is missing" >&2; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$dll")
grep -q 'file format pei-i386' <<<"$(i686-w64-mingw32-objdump -f "$dll")" \
  || { echo "check-dll: $dll is not a 32-bit PE file" >&2; exit 1; }
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^\s*\[/{print $NF} on && /^$/{on=0}' <<<"$dump")
if [ "$exports" != "iTunesPluginMain" ]; then
  echo "check-dll: exports are [$exports], expected only iTunesPluginMain" >&2; exit 1
fi
imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u)
bad=$(grep -v -E '^(kernel32|user32|gdi32|gdiplus|ole32|oleaut32|shell32|comdlg32|comctl32|winmm|advapi32|msvcrt|shlwapi|uxtheme|wininet|dinput8|version|hhctrl\.ocx|imm32|api-ms-win-.*)\.dll$' <<<"$imports" || true)
if [ -n "$bad" ]; then
  echo "check-dll: imports DLLs a stock Windows lacks: $bad" >&2; exit 1
fi
echo "check-dll: $dll exports only iTunesPluginMain; imports: $(tr '\n' ' ' <<<"$imports")"
