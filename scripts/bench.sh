#!/usr/bin/env bash
# `make bench`: builds the shipped 32-bit tree (dist/) and runs every benchmark in it under
# 32-bit Wine, or the x86_64 tree under 64-bit Wine where this machine cannot run i386 programs,
# then prints one table. A missed goal is reported, not failed; a benchmark that does not build,
# crashes or gives no figures fails the run.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
JOBS=${JOBS:-2}

# BENCH_TREE=win32 measures the x86_64 tree even where i386 programs run.
if [ "${BENCH_TREE:-i686}" != win32 ] && i386_runs; then
  tree=i686
  make dist JOBS="$JOBS" || { echo "bench: the i686 build failed" >&2; exit 1; }
  dll=dist/Sabla.dll
  note="shipped 32-bit build (i686) under 32-bit Wine"
else
  tree=win32
  make win32 JOBS="$JOBS" || { echo "bench: the x86_64 build failed" >&2; exit 1; }
  dll=build/win32/src/host/Sabla.dll
  if [ "${BENCH_TREE:-i686}" = win32 ]; then
    note="x86_64 build under 64-bit Wine (BENCH_TREE=win32), not the shipped 32-bit build"
  else
    note="x86_64 build under 64-bit Wine: this machine cannot run i386 programs, so the shipped 32-bit build is not measured"
  fi
fi
build=build/$tree
arch=$(arch_of "$dll")
# A prefix of its own: the plug-in starts from its default settings, whatever the tests left in
# theirs, and the benchmarks' files stay out of the tests' way.
export SABLA_WINEPREFIX=$PWD/build/wineprefix-bench-$arch
# Without a display, a private X server large enough for the 1920 x 1080 window, so that every
# pixel of the frame reaches the screen (the tests' shared server is 1280 x 1024).
xvfb_pid=
stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    # The prefix's Wine processes leave before their display does.
    (use_arch "$arch"; "$wineserver_cmd" -k 2>/dev/null; "$wineserver_cmd" -w 2>/dev/null)
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb 2048x1280 || { xvfb_pid=; exit 1; }
  export DISPLAY=$xvfb_display
  trap stop_xvfb EXIT
fi

results=build/bench-results
mkdir -p "$results"
rm -f "$results"/*.log "$results"/*.err "$results"/*.bmp

# name|program|arguments; the figures of the goals first, then the parts that explain them
benches=(
  "host_frame_bench|$build/bench/host_frame_bench.exe|$dll $results"
  "lyric_search_bench|$build/bench/lyric_search_bench.exe|"
  "song_scan_bench|$build/bench/song_scan_bench.exe|"
  "frame_bench|$build/src/display/frame_bench.exe|"
  "handler_idle_bench|$build/src/host/handler_idle_bench.exe|"
)

failed=()
for entry in "${benches[@]}"; do
  IFS='|' read -r name program args <<<"$entry"
  log=$results/$name.log
  if [ ! -f "$program" ]; then
    echo "bench: $program was not built" >&2
    failed+=("$name (not built)")
    continue
  fi
  echo "bench: running $name ..." >&2
  start=$SECONDS
  # shellcheck disable=SC2086
  timeout 600 scripts/wine-run.sh "$program" $args >"$log" 2>"$results/$name.err"
  rc=$?
  echo "bench: $name finished in $((SECONDS - start)) s (exit $rc)" >&2
  if [ "$rc" -ne 0 ]; then
    failed+=("$name (exit $rc, see $log and $results/$name.err)")
  elif ! grep -q '^BENCH|' "$log"; then
    failed+=("$name (no figures, see $log)")
  fi
done

# The long soak with the same pair: 1000 track changes and 1000 hide/show cycles, GDI objects and
# private bytes first and last. BENCH_SOAK=0 leaves it out.
soak_summary=
if [ "${BENCH_SOAK:-1}" != 0 ]; then
  if [ "$tree" = i686 ]; then standin=dist/standin.exe; else standin=$build/standin/standin.exe; fi
  echo "bench: running the long soak ..." >&2
  start=$SECONDS
  SOAK_STANDIN=$standin SOAK_PLUGIN=$dll SOAK_FOLDER=build/soak-long \
    timeout 1800 scripts/soak.sh 200 1000 1000 >"$results/soak.log" 2>&1
  rc=$?
  echo "bench: soak finished in $((SECONDS - start)) s (exit $rc)" >&2
  soak_summary=$(grep '^soak: ' "$results/soak.log")
  [ "$rc" -eq 0 ] || failed+=("soak (exit $rc, see $results/soak.log)")
fi

echo
echo "Sabla benchmarks: $note"
grep -h '^screen ' "$results/host_frame_bench.log" 2>/dev/null | tr -d '\r' | sed 's/^/Wine /'
for entry in "${benches[@]}"; do cat "$results/${entry%%|*}.log" 2>/dev/null; done | tr -d '\r' | grep '^BENCH|' | python3 -c '
import sys

def t(us):
    us = float(us)
    return f"{us / 1000:.2f} ms" if us >= 1000 else f"{us:.1f} us"

rows = []
for line in sys.stdin:
    f = line.rstrip("\n").split("|")
    if len(f) != 11:
        continue
    _, figure, med, p90, runs, base_name, base, max_us, max_ratio, max_extra, goal = f
    med, p90 = float(med), float(p90)
    has_base = base != "-"
    ratio = f"{med / float(base):.1f}x" if has_base and float(base) > 0 else "-"
    checks = []
    if float(max_us) >= 0:
        checks.append(med <= float(max_us))
    if float(max_ratio) >= 0 and has_base:
        checks.append(med <= float(max_ratio) * float(base))
    if float(max_extra) >= 0 and has_base:
        checks.append(med <= float(base) + float(max_extra))
    verdict = "-" if not checks else ("met" if all(checks) else "MISSED")
    rows.append([figure, t(med), t(p90), runs,
                 f"{base_name}: {t(base)}" if has_base else "-", ratio, goal, verdict])

head = ["figure", "median", "p90", "runs", "baseline (same run, median)", "ratio", "goal", "result"]
widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(len(head))]
def show(r):
    print(" | ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip())
show(head)
print("-+-".join("-" * w for w in widths))
for r in rows:
    show(r)
'
if [ -n "$soak_summary" ]; then
  echo
  echo "Soak (200 tracks in every encoding, 1000 track changes, 1000 hide/show cycles):"
  echo "$soak_summary"
fi
echo
echo "Raw output: $results/"
if [ ${#failed[@]} -gt 0 ]; then
  printf 'bench: FAILED: %s\n' "${failed[@]}" >&2
  exit 1
fi
