#!/usr/bin/env bash
# Sets everything up, builds the console and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target vexilon-console
exec build/dev/bin/vexilon-console
