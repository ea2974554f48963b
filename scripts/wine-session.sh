#!/usr/bin/env bash
# start: make the Wine prefix and the X server before tests run in parallel; stop: end both.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
case "${1:-start}" in
  start)
    ensure_prefix
    ensure_display || exit 1
    echo "WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    stop_display
    ;;
esac
