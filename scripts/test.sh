#!/usr/bin/env bash
# Sets everything up, then builds and runs every test: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and a replay of the
# fuzz corpora under the same sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

status=0
for preset in dev asan fuzz; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
