#!/usr/bin/env bash
# Start-up benchmark: time from process start to the first complete paint of the main window,
# against the floor program (a bare window of the same size with one label), both under Xvfb,
# interleaved; plus the main window's resident memory once idle.
# Usage: scripts/startup-bench.sh <build dir> [runs]
set -euo pipefail
build="$1"
runs="${2:-20}"
work="$(mktemp -d)"
trap 'kill "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x800x24 -noreset >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
cp -r "$build/bin/." "$work/"
python3 - "$work/csystem/cdat.ovd" <<'PY'
import datetime, sys
entries = ["Dentist 9:30", "Call Bob about the weekend", "Gym", "Pay the electricity bill before Friday",
           "Lunch with Anna at the corner cafe", "Team meeting, room 4", "Pick up the dry cleaning",
           "Birthday: Aunt Margaret (send a card)"]
today = datetime.date.today()
day = today - datetime.timedelta(days=(today.weekday() + 1) % 7)
months = ["Jan","Feb","Mar","Apr","May","Jun","Jul","Aug","Sep","Oct","Nov","Dec"]
lines = []
for slot in range(1, 739):
    d = day + datetime.timedelta(days=slot - 1)
    key = "%s/%-2d/%04d" % (months[d.month - 1], d.day, d.year)
    n = 20 if slot % 37 == 0 else slot % 5
    lines.append(key + "".join(entries[(slot + e) % 8] + "\x07" for e in range(n)))
lines.append("")
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
PY
DISPLAY="$display" ORVANE_STARTUP_PROBE=1 python3 - "$work/orvane" "$build/bench/orvane_floor" "$runs" <<'PY'
import os, statistics, subprocess, sys, time
program, floor, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
def measure(exe):
    start = time.monotonic_ns()
    out = subprocess.run([exe], capture_output=True, text=True, timeout=60).stdout
    paint = rss = None
    for line in out.splitlines():
        if line.startswith("paint_ns"):
            paint = (int(line.split()[1]) - start) / 1e6
        elif line.startswith("rss"):
            rss = int(line.split()[1]) / 1024
    if paint is None:
        sys.exit("no paint reported by " + exe + ":\n" + out)
    return paint, rss
measure(program); measure(floor)  # warm the caches
ratios, prog_ms, floor_ms, rss = [], [], [], []
for _ in range(runs):
    p, r = measure(program)
    f, _ = measure(floor)
    prog_ms.append(p); floor_ms.append(f); rss.append(r); ratios.append(p / f)
print("startup: orvane median %.1f ms, floor median %.1f ms, median ratio %.2f (target 1.10), %d runs"
      % (statistics.median(prog_ms), statistics.median(floor_ms), statistics.median(ratios), runs))
print("idle resident memory: median %.1f MB (target 35)" % statistics.median(rss))
PY
