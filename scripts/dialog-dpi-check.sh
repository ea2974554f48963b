#!/usr/bin/env bash
# Checks the options window's layout at 96 and at 144 DPI: runs the layout tests of every page
# in the given test program, in a Wine prefix per DPI, and keeps a picture of each page in
# out/dialogs/<dpi>/ (PNG). Usage: dialog-dpi-check.sh <build>/tests/win32_tests.exe [dpi...]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
program=$(realpath "$1")
shift
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 144)
arch=$(arch_of "$program")
status=0
for dpi in "${dpis[@]}"; do
  export SABLA_WINEPREFIX=$repo_dir/build/wineprefix-$arch-dpi$dpi
  use_arch "$arch"
  ensure_prefix || exit 1
  ensure_display || exit 1
  # Wine takes the screen's DPI from either key, by version.
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    LC_ALL=$wine_locale "$wine_cmd" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1
  done
  "$wineserver_cmd" -w
  shots=$repo_dir/out/dialogs/$dpi
  rm -rf "$shots"; mkdir -p "$shots"
  echo "== options window at $dpi DPI"
  SABLA_DIALOG_SHOTS="Z:${shots//\//\\}" LC_ALL=$wine_locale \
    "$wine_cmd" "$program" --gtest_filter='DialogLayout*:*EveryControl*' || status=1
  # The pictures' fourth byte is not alpha: GDI leaves it 0.
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" -alpha off "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  ls "$shots"
done
exit $status
