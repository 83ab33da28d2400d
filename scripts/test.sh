#!/usr/bin/env bash
# Sets everything up, then builds and runs every test: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and a replay of the
# fuzz corpora under the same sanitizers. Prints the wall time of each
# preset's build and test run at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

status=0
timings=()
for preset in dev asan fuzz; do
  echo "=== $preset ==="
  start=$SECONDS
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  built=$SECONDS
  ctest --preset "$preset" || status=1
  timings+=("$preset: build $((built - start)) s, tests $((SECONDS - built)) s")
done
echo "=== wall time ==="
printf '%s\n' "${timings[@]}"
echo "whole run: $SECONDS s"
exit $status
