#!/usr/bin/env bash
# Start-up benchmark: time from process start to the first complete paint of the main window,
# against the floor program (a bare window of the same size with one label), both under Xvfb,
# interleaved; plus the main window's resident memory once idle. Needs python3-xlib.
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
# The paint is watched from outside: the X server reports every drawing to the screen (DAMAGE on
# the root window, which Xvfb with no window manager makes the parent of every window). The first
# paint has ended at the last drawing before 150 ms without any; the program's own report of its
# first paint is shown beside it.
DISPLAY="$display" ORVANE_STARTUP_PROBE=1 /usr/bin/python3 - "$work/orvane" "$build/bench/orvane_floor" "$runs" <<'PY'
import os, select, statistics, subprocess, sys, time
from Xlib import display
from Xlib.ext import damage
program, floor, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
QUIET_NS = 150_000_000
screen = display.Display()
if not screen.has_extension("DAMAGE"):
    sys.exit("the X server has no DAMAGE extension")
screen.damage_query_version()
screen.screen().root.damage_create(damage.DamageReportRawRectangles)
screen.sync()

def measure(exe):
    while screen.pending_events():
        screen.next_event()
    start = time.monotonic_ns()
    proc = subprocess.Popen([exe], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    drawn, out, ended = [], b"", None
    x_fd, out_fd = screen.fileno(), proc.stdout.fileno()
    open_fds = [x_fd, out_fd]
    while out_fd in open_fds:
        ready, _, _ = select.select(open_fds, [], [], 60)
        if not ready:
            proc.kill()
            sys.exit(exe + " did not finish")
        now = time.monotonic_ns()
        while screen.pending_events():
            screen.next_event()
            if ended is None:
                drawn.append(now)
        if out_fd in ready:
            chunk = os.read(out_fd, 4096)
            if not chunk:
                open_fds.remove(out_fd)
            out += chunk
            if b"rss" in out and ended is None:
                ended = now  # the program quits next; what it draws from here is not its start
    proc.wait()
    reported = rss = None
    for line in out.decode().splitlines():
        if line.startswith("paint_ns"):
            reported = (int(line.split()[1]) - start) / 1e6
        elif line.split()[0] in ("main_ns", "app_ns", "show_ns"):
            moments.setdefault((exe, line.split()[0][:-3]), []).append(
                (int(line.split()[1]) - start) / 1e6)
        elif line.startswith("rss"):
            rss = int(line.split()[1]) / 1024
    if not drawn or reported is None:
        sys.exit("no paint seen from " + exe + ":\n" + out.decode())
    last = drawn[0]
    for t in drawn[1:]:
        if t - last >= QUIET_NS:
            break
        last = t
    return (last - start) / 1e6, reported, rss

moments = {}
measure(program); measure(floor)  # warm the caches
rows = []
for _ in range(runs):
    p, p_reported, r = measure(program)
    f, f_reported, _ = measure(floor)
    rows.append((p, f, p_reported, f_reported, r))
med = lambda i: statistics.median(row[i] for row in rows)
ratio = statistics.median(row[0] / row[1] for row in rows)
reported_ratio = statistics.median(row[2] / row[3] for row in rows)
print("startup (paint seen by the X server): orvane median %.1f ms, floor median %.1f ms, "
      "median ratio %.2f (target 1.10), %d runs" % (med(0), med(1), ratio, runs))
print("startup (paint reported by the programs): orvane %.1f ms, floor %.1f ms, ratio %.2f"
      % (med(2), med(3), reported_ratio))
for exe, name in ((program, "orvane"), (floor, "floor")):
    stages = [(m, statistics.median(moments.get((exe, m), [0]))) for m in ("main", "app", "show")]
    print("%s: libraries loaded, main() at %.1f ms; QApplication made at %.1f ms; window shown at %.1f ms"
          % (name, stages[0][1], stages[1][1], stages[2][1]))
print("each run, orvane/floor ms (seen): " + " ".join("%.0f/%.0f" % (row[0], row[1]) for row in rows))
print("idle resident memory: median %.1f MB (target 35)" % med(4))
PY
