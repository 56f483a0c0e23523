#!/usr/bin/env bash
# Builds the fuzz tree (clang, own folder build-fuzz) and runs fuzz targets
# for a given time each, one job per target, at most three targets at once.
#   scripts/fuzz.sh TARGET[,TARGET...]|all [SECONDS]      (default 300 seconds)
# Findings and the grown corpus stay under build-fuzz/fuzz-runs/TARGET/;
# the summary prints, per target, the seconds run, the executions and
# whether it found anything. Exit status 1 when a target found something.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: scripts/fuzz.sh TARGET[,TARGET...]|all [SECONDS]}
seconds=${2:-300}
dir="$here/build-fuzz"
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
mkdir -p "$dir"
CC=clang CXX=clang++ cmake -S "$here" -B "$dir" -G Ninja -DTOLVANE_FUZZ=ON -DTOLVANE_BENCH=OFF \
  > "$dir/configure.log" 2>&1 || { cat "$dir/configure.log"; exit 1; }

if [ "$target" = all ]; then
  mapfile -t targets < <(cd "$here/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//')
else
  IFS=, read -r -a targets <<< "$target"
fi
ninja -C "$dir" -j3 "${targets[@]}"

# Seeds: the project's fixtures for the IGES targets, model files made from
# them for the model targets; libFuzzer grows the corpus from there.
seed() {
  local name=$1 corpus=$2
  case "$name" in
    *iges*) cp "$here"/tests/fixtures/*.igs "$corpus"/ 2>/dev/null || true ;;
    *stl*) find "$here/tests" -name '*.stl' -size -64k -exec cp {} "$corpus"/ \; 2>/dev/null || true ;;
    *sat*) cp "$here"/tests/fixtures/sat/* "$corpus"/ 2>/dev/null || true ;;
    fuzz_model_import)
      ASAN_OPTIONS=detect_leaks=0 FUZZ_MODEL_SEEDS="$corpus" "$dir/bin/$name" "$here"/tests/fixtures/*.igs \
        > /dev/null 2>&1 || true ;;
  esac
}

run() {
  local name=$1 work="$dir/fuzz-runs/$1" start=$SECONDS
  rm -rf "$work/findings" "$work/tmp"
  mkdir -p "$work/corpus" "$work/findings" "$work/tmp"
  seed "$name" "$work/corpus"
  # Leaks and undefined behaviour stop an input as a crash does; one worker
  # that starts again after each finding, so that the run lasts its whole
  # time, and every finding kept under findings/ for triage. The targets
  # compile the parsers in beside the libraries that also hold them: the
  # same definition twice is let be, two different ones are still reported.
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1:detect_odr_violation=1 \
  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 TMPDIR="$work/tmp" \
    "$dir/bin/$name" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
      -artifact_prefix="$work/findings/" "$work/corpus" > "$work/log.txt" 2>&1 || true
  rm -rf "$work/tmp"  # what inputs that crashed left behind
  local execs found
  execs=$(grep -o '^#[0-9]*:' "$work/log.txt" | tail -1 | tr -d '#:')
  found=$(ls "$work/findings" | wc -l)
  [ "$found" = 0 ] && found="nothing found" || found="$found finding(s) in $work/findings"
  printf '%-24s %6ss %12s execs  %s\n' "$name" "$((SECONDS - start))" "$execs" "$found"
}

status=0
running=0
for name in "${targets[@]}"; do
  run "$name" > "$dir/fuzz-runs.$name.summary" &
  running=$((running + 1))
  if [ "$running" -ge 3 ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait
for name in "${targets[@]}"; do
  cat "$dir/fuzz-runs.$name.summary"
  grep -q 'nothing found' "$dir/fuzz-runs.$name.summary" || status=1
done
exit "$status"
