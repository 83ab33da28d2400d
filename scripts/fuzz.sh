#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target it finds
# (<build>/bin/fuzz_*) for the given number of minutes each. Each target
# works on a fresh copy of its committed seed corpus, so new inputs never end
# up in the repository; crashes and their inputs land in <build>/findings/.
#
# A file fuzz.options beside a target's CMakeLists.txt may add libFuzzer flags
# for that target (one line, e.g. -max_len=65536).
#
#   usage: scripts/fuzz.sh [minutes per target, default 10] [build dir, default build/fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
build=${2:-build/fuzz}
if ! [[ $minutes =~ ^[0-9]+$ ]] || [ "$minutes" -eq 0 ]; then
  echo "minutes must be a positive whole number" >&2
  exit 2
fi

bash scripts/setup.sh
cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build"

# A fuzz target is a program declared with vexilon_add_fuzzer; its seeds are
# the corpus/ folder beside that declaration. (Other programs named fuzz_*,
# such as corpus generators, are left alone.)
folder_of() {
  grep -rlE "vexilon_add_fuzzer\($1([[:space:]]|\$)" fuzz --include=CMakeLists.txt | head -n 1 | xargs -r dirname || true
}

status=0
shopt -s nullglob
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  folder=$(folder_of "$name")
  if [ -z "$folder" ]; then
    continue
  fi
  seeds="$folder/corpus"
  extra=()
  if [ -f "$folder/fuzz.options" ]; then
    read -r -a extra <"$folder/fuzz.options"
  fi
  work=$(mktemp -d "/tmp/$name.XXXXXX")
  if [ -n "$seeds" ] && [ -d "$seeds" ]; then
    cp -r "$seeds"/. "$work"/
  fi
  findings="$build/findings/$name"
  mkdir -p "$findings"
  log="$findings/run.log"
  echo "=== $name: $minutes min, seeds $seeds ${extra[*]}"
  # rss_limit: the largest picture allowed takes about 2 GiB under the sanitizers.
  if ! "$target" "$work" -max_total_time=$((minutes * 60)) -timeout=60 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$findings/" "${extra[@]}" >"$log" 2>&1; then
    status=1
    echo "    FOUND a fault: see $log and $findings/"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^Done' "$log" | sed 's/^/    /' || true
  echo "    corpus grew from $(ls "${seeds:-/nonexistent}" 2>/dev/null | wc -l) to $(ls "$work" | wc -l) inputs"
  rm -rf "$work"
done
exit $status
