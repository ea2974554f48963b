#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix (ctest's emulator).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ensure_prefix
ensure_display || exit 1
exec wine "$@"
