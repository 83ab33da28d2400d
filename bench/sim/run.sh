#!/usr/bin/env bash
# Builds the simulated machine's benchmark and prints how fast it delivers
# position reports through a pseudo-terminal: at full speed it must give the
# console's flood benchmark at least 100 times the line's 1,152 reports/s; at
# the line rate it must keep to 1,152, and read an upload at 5,760 bytes/s.
#   bench/sim/run.sh [build-dir]    (default: build/dev, configured by preset dev)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/dev}
if [ $# -eq 0 ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target bench_sim_flood >/dev/null

"$build/bin/bench_sim_flood" | tee /dev/stderr | awk '
  /^fast:/ { fast = $2 }
  /^line:/ { line = $2 }
  /^upload rate:/ { upload = $3 }
  END {
    if (fast == "" || line == "" || upload == "") { print "no result"; exit 1 }
    ok = fast >= 115200 && line >= 1100 && line <= 1200 && upload >= 5500 && upload <= 5900
    printf "simulated machine: %d reports/s at full speed (target 115200: %.0fx), %d reports/s at the line rate (target 1152), uploads read at %d bytes/s (target 5760): %s\n", fast, fast / 115200, line, upload, ok ? "meets them" : "MISSES"
    exit !ok
  }'
