#!/usr/bin/env bash
# Wall time and peak memory of convertToBmp24 on two extreme files: a
# 16384 x 16384 black-and-white TIFF in one group 4 strip (a few KB; the
# intermediate image it makes is 768 MiB), and 2,000,000,000 zero bytes that
# no decoder takes (a sparse file, so reading it costs no disk). Medians of
# several runs.
#
#   usage: bench/image/decode/extremes.sh [runs, default 3] [bench_decode binary]
# Without a binary it builds bench_decode in build/dev.
set -euo pipefail
cd "$(dirname "$0")/../../.."

runs=${1:-3}
bin=${2:-}
if [ -z "$bin" ]; then
  source bench/support/timing.sh
  build_bench_targets bench_decode
  bin=build/dev/bin/bench_decode
fi

work=$(mktemp -d /tmp/bench-extremes.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$bin" make-extremes "$work"

for file in checker.tif zeros.bin; do
  for ((i = 0; i < runs; i++)); do
    # The exit status tells accepted (0) from refused (1); both are timed.
    /usr/bin/time -f "$file %e %M %x" -a -o "$work/results" \
      "$bin" convert "$work/$file" "$work/out.bmp" >/dev/null 2>&1 || true
    rm -f "$work/out.bmp"
  done
done

echo "checker.tif: $(stat -c %s "$work/checker.tif") bytes; zeros.bin: $(stat -c %s "$work/zeros.bin") bytes; runs: $runs"
python3 - "$work/results" <<'PY'
import statistics, sys
cells = {}
for line in open(sys.argv[1]):
    fields = line.split()
    if len(fields) != 4 or fields[0] not in ("checker.tif", "zeros.bin"):
        continue  # time's own "exited with non-zero status" lines
    name, sec, kib, status = fields
    cells.setdefault(name, []).append((float(sec), int(kib), status))
print(f"{'file':12} {'result':8} {'time s':>7} {'peak MiB':>9}")
for name, runs in cells.items():
    result = "accepted" if runs[0][2] == "0" else "refused"
    sec = statistics.median(s for s, _, _ in runs)
    mib = statistics.median(m for _, m, _ in runs) / 1024
    print(f"{name:12} {result:8} {sec:7.2f} {mib:9.1f}")
PY
