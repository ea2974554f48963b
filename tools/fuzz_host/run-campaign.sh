#!/usr/bin/env bash
# `make fuzz-host N=...`: a long campaign against the shipped library (dist/Sabla.dll) under
# 32-bit Wine. Where this machine refuses i386 programs, the x86_64 tree is used instead.
# FUZZ_SEED, FUZZ_JOBS (children at once) and FUZZ_ARGS (more options) pass through.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
count=${1:-100000}
if i386_runs; then
  exe=build/i686/tools/fuzz_host/fuzz_host.exe
  dll=dist/Sabla.dll
else
  echo "fuzz-host: this machine cannot run i386 programs; the x86_64 tree is fuzzed instead"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j "$(nproc)" --target fuzz_host
  exe=build/win32/tools/fuzz_host/fuzz_host.exe
  dll=build/win32/src/host/Sabla.dll
fi
# Crash addresses are given as offsets into the library: the unstripped build/*/src/host/Sabla.dll
# turns them into source lines with addr2line.
# shellcheck disable=SC2086
exec scripts/wine-run.sh "$exe" --plugin "$dll" --count "$count" --seed "${FUZZ_SEED:-1}" \
  --jobs "${FUZZ_JOBS:-2}" ${FUZZ_ARGS:-}
