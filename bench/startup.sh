#!/usr/bin/env bash
# Start-up of Marlowen against a bare Qt window, paired runs under a private Xvfb:
# process start -> main window mapped, start -> exit after the close request, and peak RSS.
# usage: bench/startup.sh <build folder> [pairs]
set -euo pipefail
build="$1"
pairs="${2:-20}"
exec 3>&1
coproc XVFB { exec Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null; }
read -r display <&"${XVFB[0]}"
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
# One warm-up run each: the first start reads fonts and libraries from disk.
"$build/bench/map_watch" "$build/app/marlowen" >/dev/null
"$build/bench/map_watch" "$build/bench/bare_window" >/dev/null
for i in $(seq "$pairs"); do
  echo "marlowen $("$build/bench/map_watch" "$build/app/marlowen")"
  echo "bare $("$build/bench/map_watch" "$build/bench/bare_window")"
done | python3 -c '
import sys, statistics, re
runs = {"marlowen": [], "bare": []}
for line in sys.stdin:
    name, rest = line.split(" ", 1)
    runs[name].append({k: float(v) for k, v in re.findall(r"(\w+)=([-\d.]+)", rest)})
def med(name, key):
    return statistics.median(r[key] for r in runs[name])
for key, unit in (("mapped_ms", "ms"), ("exit_ms", "ms"), ("maxrss_kib", "KiB")):
    m, b = med("marlowen", key), med("bare", key)
    print(f"{key:11s} marlowen {m:9.1f} {unit}  bare {b:9.1f} {unit}  ratio {m / b:.2f}")
codes = {r["exit_code"] for n in runs for r in runs[n]}
print("pairs", len(runs["bare"]), "exit codes", sorted(codes))
'
