#!/usr/bin/env bash
# Where the host's frames go: runs host_frame_bench of the i686 tree (the x86_64 tree where this
# machine cannot run i386 programs) with
# SABLA_BENCH_PROFILE_FRAMES extra frames of each size under `perf record` (the process's
# on-processor time, sampled by the kernel, so server calls and waits do not skew it), then
# prints the share of each library and of each function of Sabla.dll, named from the
# unstripped build. Usage: profile-frames.sh [FRAMES] (default 1200). Needs perf, and DISPLAY set
# to a screen of at least 1920 x 1080 (as `make bench` starts), else the big frame is clipped.
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1200}
source scripts/wine-env.sh
if i386_runs; then tree=i686 objdump=i686-w64-mingw32-objdump; else
  tree=win32 objdump=x86_64-w64-mingw32-objdump
  echo "profile-frames: this machine cannot run i386 programs; profiling the x86_64 tree" >&2
fi
dll=build/$tree/src/host/Sabla.dll
bench=build/$tree/bench/host_frame_bench.exe
out=$(mktemp -d)
export SABLA_BENCH_PROFILE_FRAMES=$frames WINEDEBUG=-all
perf record -e cpu-clock -F 4000 -o "$out/perf.data" -- \
  scripts/wine-run.sh "$bench" "$dll" >"$out/bench.log" 2>/dev/null
base=$(sed -n 's/^profile [0-9x]*: Sabla.dll at \([0-9a-fA-F]*\).*/\1/p' "$out/bench.log" | head -1)
[ -n "$base" ] || { echo "profile-frames: the bench printed no load address" >&2; exit 1; }
perf script -i "$out/perf.data" -F pid,ip,dso 2>/dev/null >"$out/samples.txt"
python3 - "$dll" "$base" "$out/samples.txt" "$objdump" <<'PY'
import collections, subprocess, sys
dll, base, samples, objdump = sys.argv[1], int(sys.argv[2], 16), sys.argv[3], sys.argv[4]
header = {l.split()[0]: l.split()[1] for l in subprocess.run(
    [objdump, "-p", dll], capture_output=True, text=True).stdout.splitlines()
    if l.startswith(("ImageBase", "SizeOfImage"))}
image_base, image_size = int(header["ImageBase"], 16), int(header["SizeOfImage"], 16)
rows = [l.split(None, 2) for l in open(samples)]
# The bench's own process is the one with the most samples.
pid = collections.Counter(r[0] for r in rows).most_common(1)[0][0]
rows = [r for r in rows if r[0] == pid]
libraries, ours = collections.Counter(), []
for _, ip, dso in rows:
    address = int(ip, 16)
    if base <= address < base + image_size:
        ours.append(image_base + address - base)
        libraries["Sabla.dll"] += 1
    else:
        libraries[dso.strip("()\n").split("/")[-1]] += 1
names = subprocess.run(["addr2line", "-f", "-e", dll] + [hex(a) for a in ours],
                       capture_output=True, text=True).stdout.splitlines()[0::2]
# i686 names carry one underscore more than addr2line strips.
names = subprocess.run(["c++filt"], input="\n".join("_" + n if n.startswith("Z") else n
                                                    for n in names),
                       capture_output=True, text=True).stdout.splitlines()
total = len(rows)
print(f"{total} samples of process {pid}")
for name, count in libraries.most_common(12):
    print(f"{100 * count / total:6.1f}%  {name}")
print("Sabla.dll by function:")
for name, count in collections.Counter(names).most_common(15):
    print(f"{100 * count / total:6.1f}%  {name[:100]}")
PY
rm -rf "$out"
