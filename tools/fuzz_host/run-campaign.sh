#!/usr/bin/env bash
# `make fuzz-host N=...`: a long campaign against the shipped library (dist/Sabla.dll) under
# 32-bit Wine. Where this machine refuses i386 programs, the x86_64 tree is used instead.
# FUZZ_SEED, FUZZ_JOBS (campaigns at once) and FUZZ_ARGS (more options) pass through.
#
# The player's automation class is one per Wine server, like one per machine: two children of
# one server would serve each other's plug-in, and a sequence meant to run without a player would
# find the other child's and wait on it. So each job is a campaign of its own, in a prefix and on
# an X server of its own, over its share of the seeds.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
count=${1:-100000}
seed=${FUZZ_SEED:-1}
jobs=${FUZZ_JOBS:-2}
if i386_runs; then
  exe=build/i686/tools/fuzz_host/fuzz_host.exe
  dll=dist/Sabla.dll
  arch=win32
else
  echo "fuzz-host: this machine cannot run i386 programs; the x86_64 tree is fuzzed instead"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j "$(nproc)" --target fuzz_host
  exe=build/win32/tools/fuzz_host/fuzz_host.exe
  dll=build/win32/src/host/Sabla.dll
  arch=win64
fi
logs=build/fuzz-host
mkdir -p "$logs"
rm -f "$logs"/job*.log "$logs"/job*.err
x_pids=()
job_pids=()
cleanup() {
  for pid in "${job_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${x_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

share=$(( (count + jobs - 1) / jobs ))
for (( job = 0; job < jobs; job++ )); do
  first=$(( seed + job * share ))
  size=$(( count - job * share < share ? count - job * share : share ))
  [ "$size" -gt 0 ] || break
  start_xvfb 1280x1024 || exit 1
  x_pids+=("$xvfb_pid")
  display=$xvfb_display
  (
    # The prefix's first start runs commands that fail by design (ending a server that is not
    # there): no errexit here.
    set +e
    export SABLA_WINEPREFIX=$PWD/build/wineprefix-fuzz$job-$arch DISPLAY=$display
    use_arch "$arch"
    ensure_prefix || exit 2
    # shellcheck disable=SC2086
    scripts/wine-run.sh "$exe" --plugin "$dll" --count "$size" --seed "$first" --jobs 1 \
      ${FUZZ_ARGS:-} > "$logs/job$job.log" 2> "$logs/job$job.err"
    status=$?
    "$wineserver_cmd" -k 2>/dev/null || true
    exit $status
  ) &
  job_pids+=($!)
  echo "fuzz-host: job $job runs seeds $first to $(( first + size - 1 )) on $display," \
    "log $logs/job$job.log"
done

failed=0
for pid in "${job_pids[@]}"; do wait "$pid" || failed=1; done
job_pids=()
# Every job's failures with their replays, then each job's summary and the sums.
cat "$logs"/job*.log | grep -v '^fuzz_host: [0-9]* of ' || true
grep -h '^fuzz_host: [0-9]* sequences, ' "$logs"/job*.log | awk '
  { sequences += $2; crashes += $4; hangs += $6 }
  END { printf "fuzz-host: all jobs: %d sequences, %d crashes, %d hangs\n",
              sequences, crashes, hangs }'
exit $failed
