#!/usr/bin/env bash
# Wall time and peak memory of convertToBmp24 on a 6000 x 4000 JPEG, a
# 4000 x 2667 PNG and an uncompressed TIFF of the same picture, and on that
# picture as ImageMagick writes it in the kinds it makes for us: an 8-bit
# palette BMP, an RLE8 BMP, a 16-bit PNG, a GIF and a lossless WebP; beside
# `djpeg -bmp`, `dwebp -bmp` and ImageMagick's
# `convert FILE -type TrueColor BMP3:out.bmp` on the same files. Medians of
# several runs, each after one warm-up run.
#
#   usage: bench/image/decode/run.sh [runs, default 5] [bench_decode binary]
# Without a binary it builds bench_decode in build/dev.
set -euo pipefail
cd "$(dirname "$0")/../../.."

runs=${1:-5}
bin=${2:-}
source bench/support/timing.sh
if [ -z "$bin" ]; then
  build_bench_targets bench_decode
  bin=build/dev/bin/bench_decode
fi
# ImageMagick itself: a wrapper earlier in PATH would add its own start-up.
magick=/usr/bin/convert

work=$(mktemp -d /tmp/bench-decode.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin" make "$work"
"$magick" "$work/picture.png" -colors 256 -type Palette -compress None "BMP3:$work/picture.bmp8"
"$magick" "$work/picture.bmp8" -type Palette -compress RLE "BMP3:$work/picture.rle8"
"$magick" "$work/picture.png" -depth 16 "PNG48:$work/picture.png16"
"$magick" "$work/picture.bmp8" "GIF:$work/picture.gif"
"$magick" "$work/picture.png" -define webp:lossless=true "WEBP:$work/picture.webp"

measure() {
  local format=$1 program=$2
  shift 2
  time_runs "$work/results" "$runs" "$format $program" "$@"
}

for format in jpg png tif bmp8 rle8 png16 gif webp; do
  in="$work/picture.$format"
  measure "$format" convertToBmp24 "$bin" convert "$in" "$work/ours.bmp"
  if [ "$format" = jpg ]; then
    measure "$format" djpeg djpeg -bmp -outfile "$work/djpeg.bmp" "$in"
  fi
  if [ "$format" = webp ]; then
    measure "$format" dwebp dwebp -bmp -o "$work/dwebp.bmp" "$in"
  fi
  measure "$format" ImageMagick "$magick" "$in" -type TrueColor "BMP3:$work/magick.bmp"
done

ls -l "$work"/picture.* | awk '{ printf "%s %d bytes\n", $NF, $5 }' | sed "s|$work/||"
echo "runs per cell: $runs"
PYTHONPATH=bench/support python3 - "$work/results" <<'PY'
import sys
from medians import median_cells, print_comparison
med = median_cells(sys.argv[1])
print_comparison(med, "convertToBmp24", "vs convertToBmp24", program_width=15, time_digits=2)
ok = True
jt, jm = med[("jpg", "convertToBmp24")]
dt, dm = med[("jpg", "djpeg")]
ok &= jt <= 1.1 * dt and jm <= 1.1 * dm
for fmt in ("jpg", "png", "tif"):
    ok &= med[(fmt, "convertToBmp24")][0] <= 0.5 * med[(fmt, "ImageMagick")][0]
# The newer kinds lean on the same libraries ImageMagick uses for the
# compressed ones: no slower than it, and no slower than dwebp for WebP.
for fmt in ("bmp8", "rle8", "png16", "gif", "webp"):
    ok &= med[(fmt, "convertToBmp24")][0] <= med[(fmt, "ImageMagick")][0]
wt, wm = med[("webp", "convertToBmp24")]
dt, dm = med[("webp", "dwebp")]
ok &= wt <= 1.1 * dt
print("targets (JPEG within 1.1 x djpeg in time and memory, WebP within 1.1 x dwebp in time,",
      "JPEG, PNG and TIFF at most half of ImageMagick's time, the newer kinds at most its time):",
      "met" if ok else "MISSED")
PY
