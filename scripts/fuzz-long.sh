#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for SECONDS each (default 600), from and into its corpus
# in fuzz/corpus/<target>/, and prints a line per target: executions, executions a second of the
# target's own CPU time (the machine is shared, so wall time says little), peak memory and
# whether it found anything. A finding is kept in out/fuzz/<target>/ to be made a regression
# test. Usage: fuzz-long.sh [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
status=0
for binary in build/fuzz/fuzz/*_fuzz; do
  [ -x "$binary" ] || continue
  target=$(basename "$binary")
  name=${target%_fuzz}
  corpus=fuzz/corpus/$name
  scratch=$(mktemp -d)
  findings=out/fuzz/$name
  mkdir -p "$corpus" "$findings"
  dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  log=$(mktemp)
  cpu_log=$(mktemp)
  timer=()
  [ -x /usr/bin/time ] && timer=(/usr/bin/time -f '%U %S' -o "$cpu_log")
  "${timer[@]}" "$binary" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "${dict[@]}" "$scratch" "$corpus" >"$log" 2>&1
  result=$?
  # Only inputs that add coverage join the kept corpus, so it stays small enough to commit.
  "$binary" -merge=1 "$corpus" "$scratch" >/dev/null 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
  # Executions per CPU second (user + system); per wall second when there is no timer.
  per_second=$(awk -v runs="${runs:-0}" -v wall="$seconds" '
    NF >= 2 { cpu = $1 + $2 } END { t = cpu > 0 ? cpu : (wall > 0 ? wall : 1); printf "%d", runs / t }' \
    "$cpu_log")
  rm -f "$cpu_log"
  verdict="no finding"
  if [ "$result" -ne 0 ]; then verdict="FINDING (exit $result, see $findings and $log)"; status=1; fi
  printf '%-22s %10s runs %8s/s %6s MB  %s\n' "$target" "${runs:-?}" "$per_second" "${rss:-?}" "$verdict"
  rm -rf "$scratch"
  [ "$result" -eq 0 ] && rm -f "$log"
done
exit $status
