#!/usr/bin/env bash
# What carving costs the laptop beside the machine: the real console under
# Xvfb, connected to the simulated machine at the real line rate (1,152
# dots a second), carving a dropped disc. Prints the CPU time of the console
# and of the X server over the measured seconds, the console's wake-ups
# (voluntary context switches, all threads), and the same with the machine
# connected and idle. The machine's bytes come as the line carries them
# (pace "line") or every 16 ms as a USB serial adapter hands them on
# ("bursts"). "floor" instead of a pace measures the least any console could
# spend: a bare window whose one line edit, sized as a position box, changes
# its text 60 times a second, as the X box does while carving.
#   bench/app/carving_cpu.sh [build-dir] [seconds] [line|bursts|floor]
#   (default: build/dev, 10, the floor and both paces one after the other)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/dev}
seconds=${2:-10}
if [ $# -eq 0 ]; then
  cmake --preset dev >/dev/null
fi
if [ $# -lt 3 ]; then
  for pace in floor line bursts; do bash "$0" "$build" "$seconds" "$pace"; done
  exit 0
fi
pace=$3
cmake --build "$build" --target vexilon-console vexilon-sim drag_source bench_repaint_floor >/dev/null
bin=$(realpath "$build/bin")

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Waits up to $2 seconds for the command $1 to succeed.
wait_for() {
  local deadline=$((SECONDS + $2))
  until eval "$1"; do
    if [ $SECONDS -ge $deadline ]; then echo "timed out waiting for: $1" >&2; exit 1; fi
    sleep 0.1
  done
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
wakeups() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'; }

# One measurement of $seconds: "<console ticks> <X ticks> <console wake-ups>".
measure() {
  local c0 x0 w0
  c0=$(ticks "$console"); x0=$(ticks "$xserver"); w0=$(wakeups "$console")
  sleep "$seconds"
  echo "$(($(ticks "$console") - c0)) $(($(ticks "$xserver") - x0)) $(($(wakeups "$console") - w0))"
}
report() {
  local hz
  hz=$(getconf CLK_TCK)
  read -r c x w <<<"$2"
  awk -v what="$1" -v c="$c" -v x="$x" -v w="$w" -v s="$seconds" -v hz="$hz" 'BEGIN {
    printf "%s: console %.1f %% of a core, X server %.1f %%, console wake-ups %d/s\n",
      what, 100 * c / hz / s, 100 * x / hz / s, w / s }'
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$work/display" >/dev/null 2>&1 &
xserver=$!; pids+=("$xserver")
wait_for '[ -s "$work/display" ]' 10
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb

if [ "$pace" = floor ]; then
  "$bin/bench_repaint_floor" &
  console=$!; pids+=("$console")
  wait_for "xdotool search --onlyvisible --pid $console >/dev/null" 10
  sleep 2
  report "floor, one line edit changed 60 times a second" "$(measure)"
  exit 0
fi

convert -size 300x300 xc:white -fill black -draw "circle 150,150 150,40" "$work/disc.png"
"$bin/vexilon-sim" --pace "$pace" --work-piece "$work/piece.png" >/dev/null 2>"$work/sim.log" &
pids+=($!)
wait_for 'grep -q "is " "$work/sim.log"' 10
"$bin/vexilon-console" >/dev/null 2>&1 &
console=$!; pids+=("$console")
wait_for 'grep -q "verify OK" "$work/sim.log"' 20
sleep 2 # the window settles: its first paints are not the carving's
report "$pace: connected, idle" "$(measure)"

"$bin/drag_source" "file://$work/disc.png" >"$work/drag.log" 2>&1 &
pids+=($!)
wait_for 'grep -q "^ready" "$work/drag.log"' 10
read -r _ dx dy <"$work/drag.log"
# The console's window opens at a fixed place on an empty X screen; the
# picture goes to the middle of the preview, the clicks to Send and Start.
window=$(xdotool search --sync --onlyvisible --pid "$console" | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove "$dx" "$dy" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((dx + (X + 464 - dx) * step / 8)) $((dy + (Y + 286 - dy) * step / 8))
  sleep 0.1
done
xdotool mouseup 1
wait_for 'grep -q "^done" "$work/drag.log"' 10
sleep 1
xdotool mousemove $((X + 884)) $((Y + 36)) click 1
wait_for 'grep -q "image data:" "$work/sim.log"' 30
sleep 1
xdotool mousemove $((X + 328)) $((Y + 28)) click 1
wait_for 'grep -q "start carving" "$work/sim.log"' 10
sleep 2
report "$pace: carving" "$(measure)"
