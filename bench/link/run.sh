#!/usr/bin/env bash
# Builds the link benchmarks and prints their figures next to their targets:
#  - the serial channel's throughput (median of several runs): 100 times the
#    line's 5,760 bytes/s;
#  - the console's reply handling flooded with position reports by the
#    simulated machine (every dot painted, both boxes updated): 100 times the
#    line's 1,152 reports/s.
#   bench/link/run.sh [build-dir]    (default: build/dev, configured by preset dev)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/dev}
if [ $# -eq 0 ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target bench_serial bench_replies >/dev/null

status=0
target=576000
"$build/bin/bench_serial" | tee /dev/stderr | awk -v target=$target '
  /^median:/ { rate = $2 }
  END {
    if (rate == "") { print "no result"; exit 1 }
    verdict = (rate >= target) ? "meets" : "MISSES"
    printf "serial channel: %d bytes/s, target %d bytes/s: %s it (%.0fx)\n", rate, target, verdict, rate / target
    exit !(rate >= target)
  }' || status=1

target=115200
"$build/bin/bench_replies" 2>/dev/null | tee /dev/stderr | awk -v target=$target '
  /^rate:/ { rate = $2 }
  /^capacity:/ { capacity = $2 }
  /^peak memory:/ { memory = $3 }
  END {
    if (rate == "") { print "no result"; exit 1 }
    verdict = (rate >= target) ? "meets" : "MISSES"
    printf "reply flood: %d reports/s handled end to end (the console alone: %d), target %d reports/s: %s it (%.0fx); peak memory %d KiB\n", rate, capacity, target, verdict, rate / target, memory
    exit !(rate >= target)
  }' || status=1
exit $status
