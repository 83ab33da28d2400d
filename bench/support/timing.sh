# Sourced by the benchmark scripts (from the repository's root): building the
# benchmark programs and timing the programs they compare.

# Installs what the build needs, configures the dev preset and builds the
# given targets into build/dev/bin.
build_bench_targets() {
  bash scripts/setup.sh
  cmake --preset dev >/dev/null
  cmake --build --preset dev --target "$@" >/dev/null
}

# time_runs RESULTS RUNS LABEL COMMAND...: runs COMMAND once to warm the file
# cache and page tables, then RUNS times, appending "LABEL <seconds> <KiB of
# peak memory>" to RESULTS for each timed run. Output is discarded.
time_runs() {
  local results=$1 runs=$2 label=$3
  shift 3
  "$@" >/dev/null 2>&1
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "$label %e %M" -a -o "$results" "$@" >/dev/null 2>&1
  done
}
