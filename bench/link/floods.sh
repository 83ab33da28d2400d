#!/usr/bin/env bash
# A machine gone wrong floods the console: for each kind of flood, how long a
# click waits, the peak memory, and how long after the flood the console is
# idle again. Targets: clicks within 100 ms, under 150 MB.
#   bench/link/floods.sh [build-dir] [seconds]   (default: build/dev, 10)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/dev}
seconds=${2:-10}
if [ $# -eq 0 ]; then
  cmake --preset dev >/dev/null
fi
cmake --build "$build" --target bench_floods >/dev/null
# random bytes; start bytes only; carving stopped over and over; reports far
# off the piece; verify OK at the line rate in the middle of a job.
for kind in random 255 102 far-reports 101; do
  "$build/bin/bench_floods" "$kind" "$seconds" 2>/dev/null | grep '^flood'
done
