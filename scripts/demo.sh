#!/usr/bin/env bash
# The main job: the stand-in player loads the plug-in and plays the bundled sample, headless
# when there is no display, and leaves what it shows under out/.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p out
exec standin/run-demo.sh "$@"
