#!/usr/bin/env bash
# Prints every benchmark figure of the console in one run: the serial
# channel's throughput, the reply handling under a flood of position reports,
# the CPU the console and the X server spend while carving at the line rate,
# what one console holds after two hundred jobs, the picture decoders
# against djpeg and ImageMagick, a whole picture intake against ImageMagick
# and libvips, and a change of picture mode.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
echo "== engraver link =="
bash bench/link/run.sh
echo
echo "== floods from a machine gone wrong =="
bash bench/link/floods.sh
echo
echo "== carving, the real console under Xvfb =="
bash bench/app/carving_cpu.sh
echo
echo "== a 100 MB settings file =="
cmake --build build/dev --target bench_large_settings >/dev/null
build/dev/bin/bench_large_settings 100
echo
echo "== two hundred jobs in one console =="
bash bench/soak/run.sh
echo
echo "== simulated machine =="
bash bench/sim/run.sh
echo
echo "== picture decoding =="
bash bench/image/decode/run.sh
echo
echo "== extreme picture files =="
bash bench/image/decode/extremes.sh
echo
echo "== picture intake =="
bash bench/image/intake/run.sh
echo
echo "== picture modes =="
bash bench/image/pipeline/run.sh
