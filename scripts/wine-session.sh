#!/usr/bin/env bash
# start ARCH: make the Wine prefix, the X server and a lasting desktop before tests run in parallel.
# stop ARCH: end the desktop, the Wine server and the X server.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
use_arch "${2:-win64}"
case "${1:-start}" in
  start)
    ensure_prefix || exit 1
    ensure_display || exit 1
    start_desktop_keeper || exit 1
    echo "WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
    ;;
  stop)
    stop_desktop_keeper
    "$wineserver_cmd" -k 2>/dev/null || true
    stop_display
    ;;
esac
