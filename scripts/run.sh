#!/usr/bin/env bash
# Sets everything up, builds the console and the simulated machine, and
# starts the console.
#
#   scripts/run.sh                 simulated machine only when no USB serial
#                                  device (/dev/ttyUSB*, /dev/ttyACM*) is present
#   scripts/run.sh --machine       never the simulated machine: a real one
#   scripts/run.sh --sim [opts]    always the simulated machine, with these
#                                  vexilon-sim options (see vexilon-sim --help)
#
# The simulated machine takes the lowest free COM number, so that the
# console's scan finds it, and stops when the console closes.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=auto
if [ "${1:-}" = --machine ]; then
  mode=machine
  shift
elif [ "${1:-}" = --sim ]; then
  mode=sim
  shift
fi
if [ "$mode" = machine ] && [ $# -gt 0 ]; then
  echo "run.sh: --machine takes no further options" >&2
  exit 2
fi

bash scripts/setup.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target vexilon-console vexilon-sim

if [ "$mode" = auto ]; then
  mode=sim
  if compgen -G '/dev/ttyUSB*' >/dev/null || compgen -G '/dev/ttyACM*' >/dev/null; then
    mode=machine
  fi
fi
if [ "$mode" = machine ]; then
  exec build/dev/bin/vexilon-console
fi

exec {sim_out}< <(exec build/dev/bin/vexilon-sim --quiet "$@")
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
# The machine names its port once its link is in place.
if ! read -r -t 10 port <&"$sim_out"; then
  echo "run.sh: the simulated machine did not start" >&2
  exit 1
fi
echo "Simulated engraving machine on $port; it stops when the console closes."
build/dev/bin/vexilon-console
