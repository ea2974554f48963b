#!/usr/bin/env bash
# The main job: the stand-in player loads the plug-in and plays the bundled sample headless,
# leaving its screenshots and a contact sheet of them under out/demo/. With --interactive and
# a display it opens the player's window instead. See standin/run-demo.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p out
exec standin/run-demo.sh "$@"
