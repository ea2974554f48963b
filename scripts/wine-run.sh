#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix for its architecture
# (ctest's emulator).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
use_arch "$(arch_of "$1")"
if [ "$WINEARCH" = win32 ] && ! i386_runs; then
  echo "this machine cannot run i386 programs, so 32-bit Wine cannot start" >&2
  exit 1
fi
ensure_prefix || exit 1
ensure_display || exit 1
exec env LC_ALL="$wine_locale" "$wine_cmd" "$@"
