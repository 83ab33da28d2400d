#!/usr/bin/env bash
# Builds bench_serial and prints the serial channel's throughput (median of
# several runs) next to its target: 100 times the line's 5,760 bytes/s.
#   bench/link/run.sh [build-dir]    (default: build/dev, configured by preset dev)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/dev}
if [ $# -eq 0 ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target bench_serial >/dev/null

target=576000
"$build/bin/bench_serial" | tee /dev/stderr | awk -v target=$target '
  /^median:/ { rate = $2 }
  END {
    if (rate == "") { print "no result"; exit 1 }
    verdict = (rate >= target) ? "meets" : "MISSES"
    printf "serial channel: %d bytes/s, target %d bytes/s: %s it (%.0fx)\n", rate, target, verdict, rate / target
    exit !(rate >= target)
  }'
