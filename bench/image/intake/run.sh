#!/usr/bin/env bash
# Wall time and peak memory of a whole intake (decode, fitting, conversion,
# preview file, picture view) of a 6000 x 4000 JPEG and a 4000 x 2667 PNG by
# the console itself, offscreen, beside ImageMagick and libvips doing the same
# job on the same files: fit into 490 x 490 by area averaging, threshold to
# black and white, place on 512 x 512. Medians of several runs, each after one
# warm-up run. The console's memory is its peak beyond the idle console; the
# other programs' is their whole peak.
#
#   usage: bench/image/intake/run.sh [runs, default 5]
set -euo pipefail
cd "$(dirname "$0")/../../.."

runs=${1:-5}
source bench/support/timing.sh
build_bench_targets bench_decode bench_intake
bin=build/dev/bin
# The programs themselves: a wrapper earlier in PATH would add its own start-up.
magick=/usr/bin/convert
vips=/usr/bin/vips

work=$(mktemp -d /tmp/bench-intake.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin/bench_decode" make "$work"

# ImageMagick: box filter, threshold at half, 1-bit BMP of 512 x 512.
magick_job() {
  "$magick" "$1" -filter Box -resize 490x490 -background white -gravity center \
    -extent 490x490 -gravity northwest -extent 512x512 -threshold 50% -monochrome \
    "BMP3:$work/magick.bmp"
}
# libvips: shrink-on-load thumbnail, mean of the bands against 383 / 3, white
# border to 512 x 512.
vips_job() {
  "$vips" thumbnail "$1" "$work/thumb.v" 490 &&
    "$vips" bandmean "$work/thumb.v" "$work/mean.v" &&
    "$vips" relational_const "$work/mean.v" "$work/bw.v" moreeq 127.67 &&
    "$vips" embed "$work/bw.v" "$work/vips.v" 0 0 512 512 --extend white
}
export -f magick_job vips_job
export magick vips work

measure_tool() {
  local format=$1 program=$2 job=$3 in=$4
  time_runs "$work/results" "$runs" "$format $program" bash -c "$job $in"
}
measure_console() {
  local format=$1 in=$2
  "$bin/bench_intake" "$in" "$work/console" >/dev/null 2>&1
  for ((i = 0; i < runs; i++)); do
    echo "$format console $("$bin/bench_intake" "$in" "$work/console" 2>/dev/null)" \
      >>"$work/results"
  done
}

for format in jpg png; do
  in="$work/picture.$format"
  measure_console "$format" "$in"
  measure_tool "$format" ImageMagick magick_job "$in"
  measure_tool "$format" libvips vips_job "$in"
done

ls -l "$work"/picture.jpg "$work"/picture.png | awk '{ printf "%s %d bytes\n", $NF, $5 }' |
  sed "s|$work/||"
echo "runs per cell: $runs"
PYTHONPATH=bench/support python3 - "$work/results" <<'PY'
import sys
from medians import median_cells, print_comparison
med = median_cells(sys.argv[1])
print_comparison(med, "console", "console vs program", program_width=12, time_digits=3)
ok = True
for fmt in ("jpg", "png"):
    t, m = med[(fmt, "console")]
    ok &= t <= 0.5 * med[(fmt, "ImageMagick")][0]
    ok &= t <= med[(fmt, "libvips")][0] and m <= med[(fmt, "libvips")][1]
print("targets (at most half of ImageMagick's time; libvips's time and memory at most):",
      "met" if ok else "MISSED")
PY
