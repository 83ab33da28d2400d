#!/usr/bin/env bash
# Wall time and peak memory of convertToBmp24 on a 6000 x 4000 JPEG, a
# 4000 x 2667 PNG and an uncompressed TIFF of the same picture, beside
# `djpeg -bmp` and ImageMagick's `convert FILE -type TrueColor BMP3:out.bmp`
# on the same files. Medians of several runs, each after one warm-up run.
#
#   usage: bench/image/decode/run.sh [runs, default 5] [bench_decode binary]
# Without a binary it builds bench_decode in build/dev.
set -euo pipefail
cd "$(dirname "$0")/../../.."

runs=${1:-5}
bin=${2:-}
if [ -z "$bin" ]; then
  bash scripts/setup.sh
  cmake --preset dev >/dev/null
  cmake --build --preset dev --target bench_decode >/dev/null
  bin=build/dev/bin/bench_decode
fi
# ImageMagick itself: a wrapper earlier in PATH would add its own start-up.
magick=/usr/bin/convert

work=$(mktemp -d /tmp/bench-decode.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin" make "$work"

# Appends "<format> <program> <seconds> <KiB>" for each timed run.
measure() {
  local format=$1 program=$2
  shift 2
  "$@" >/dev/null 2>&1 # warm-up: file cache, page tables
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "$format $program %e %M" -a -o "$work/results" "$@" >/dev/null 2>&1
  done
}

for format in jpg png tif; do
  in="$work/picture.$format"
  measure "$format" convertToBmp24 "$bin" convert "$in" "$work/ours.bmp"
  if [ "$format" = jpg ]; then
    measure "$format" djpeg djpeg -bmp -outfile "$work/djpeg.bmp" "$in"
  fi
  measure "$format" ImageMagick "$magick" "$in" -type TrueColor "BMP3:$work/magick.bmp"
done

ls -l "$work"/picture.* | awk '{ printf "%s %d bytes\n", $NF, $5 }' | sed "s|$work/||"
echo "runs per cell: $runs"
python3 - "$work/results" <<'PY'
import statistics, sys
cells = {}
for line in open(sys.argv[1]):
    fmt, prog, sec, kib = line.split()
    cells.setdefault((fmt, prog), []).append((float(sec), int(kib)))
med = {k: (statistics.median(s for s, _ in v), statistics.median(m for _, m in v) / 1024) for k, v in cells.items()}
print(f"{'file':5} {'program':15} {'time s':>7} {'peak MiB':>9}  vs convertToBmp24")
for (fmt, prog), (sec, mib) in med.items():
    ours = med[(fmt, "convertToBmp24")]
    note = "" if prog == "convertToBmp24" else f"time x{ours[0] / sec:.2f}, memory x{ours[1] / mib:.2f}"
    print(f"{fmt:5} {prog:15} {sec:7.2f} {mib:9.1f}  {note}")
ok = True
jt, jm = med[("jpg", "convertToBmp24")]
dt, dm = med[("jpg", "djpeg")]
ok &= jt <= 1.1 * dt and jm <= 1.1 * dm
for fmt in ("jpg", "png", "tif"):
    ok &= med[(fmt, "convertToBmp24")][0] <= 0.5 * med[(fmt, "ImageMagick")][0]
print("targets (JPEG within 1.1 x djpeg in time and memory, every file at most half of ImageMagick's time):",
      "met" if ok else "MISSED")
PY
