#!/usr/bin/env bash
# A long day at the machine in one console: two hundred jobs (or as many as
# given) with the simulated machine at the fast pace, under Xvfb on the real
# desktop platform. Each job takes in a new picture, uploads it, starts,
# pauses and goes on; some skip rows forth and back, recarve, open the
# settings window, or lose the cable and connect again. Prints what the
# process holds after the first job, every fiftieth and the last; fails when
# a piece differs from its preview, or when the last job leaves more
# descriptors or threads, or 5 MiB more resident memory, than the first.
#   bench/soak/run.sh [jobs]
set -euo pipefail
cd "$(dirname "$0")/../.."
source bench/support/timing.sh

jobs=${1:-200}
build_bench_targets app_soak_test
out=$(mktemp)
trap 'rm -f "$out"' EXIT
started=$(date +%s)
status=0
VEXILON_SOAK_JOBS=$jobs QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/dev/bin/app_soak_test >"$out" 2>&1 || status=$?
grep -E '^after job' "$out" || true
if [ "$status" -ne 0 ]; then
  grep -E -A4 'Failure' "$out" | head -40
fi
echo "$jobs jobs in $(($(date +%s) - started)) s"
exit "$status"
