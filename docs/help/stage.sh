#!/usr/bin/env bash
# Copies the help sources into the folder chmcmd compiles from, in the form HTML Help reads.
# The sources are UTF-8 with LF so that they diff and edit like everything else; HTML Help 1.x
# is an ANSI program that reads the project, the contents file and the text popups in the code
# page of the help file's language (0x411, code page 932), and popup lines are taken as CR LF.
# A character that code page 932 cannot hold fails the build here instead of showing as '?'.
# Usage: stage.sh <source dir> <stage dir> <file>...
set -euo pipefail
src=$1 stage=$2
shift 2
rm -rf "$stage"
mkdir -p "$stage"
for f in "$@"; do
  iconv -f UTF-8 -t CP932 "$src/$f" | sed 's/\r*$/\r/' >"$stage/$f"
done
