#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a while, two at a time, each on its working copy
# of the committed corpus, and fails when one of them finds a crash, a leak, a timeout or an
# out-of-memory input.
#
#   scripts/fuzz.sh [build dir] [seconds per target]      (defaults: build/fuzz 60)
#
# Working corpora are <build>/corpus/<target> (seeded from fuzz/corpus/<target>, kept between
# runs); what a target finds goes to <build>/artifacts/<target>/, its output to
# <build>/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-60}
jobs=2

# Inputs as large as the files get: a day file of 739 lines of notes, a pref.ovd, a few hundred
# records, a long archive, a notes file, a long error log, a calendar to import.
declare -A max_len=([dayfile]=32768 [prefs]=2048 [records]=8192 [archive]=16384 [notes]=16384
  [errorlog]=8192 [ics]=16384)
targets=(dayfile prefs records archive notes errorlog ics)

if [[ -z "${ASAN_SYMBOLIZER_PATH:-}" ]] && command -v llvm-symbolizer-14 > /dev/null; then
  export ASAN_SYMBOLIZER_PATH=$(command -v llvm-symbolizer-14)
fi

run_target() {
  local target=$1
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts" "$build/logs"
  cp -n fuzz/corpus/"$target"/* "$corpus"/ 2> /dev/null || true
  local rc=0
  "$build/fuzzers/fuzz_$target" "$corpus" -max_total_time="$seconds" \
    -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" > "$build/logs/$target.log" 2>&1 || rc=$?
  echo "$rc" > "$build/logs/$target.status"
}

for target in "${targets[@]}"; do
  if [[ ! -x $build/fuzzers/fuzz_$target ]]; then
    echo "No fuzz target $build/fuzzers/fuzz_$target: build the fuzz preset first." >&2
    exit 2
  fi
done

echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
for target in "${targets[@]}"; do
  rm -f "$build/logs/$target.status"
done
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do
    wait -n || true
  done
  run_target "$target" &
done
wait

failed=0
printf '%-10s %14s %8s  %s\n' target executions corpus result
for target in "${targets[@]}"; do
  log=$build/logs/$target.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  units=$(find "$build/corpus/$target" -type f | wc -l)
  status=$(cat "$build/logs/$target.status" 2> /dev/null || echo "?")
  if [[ $status == 0 ]]; then
    result=ok
  else
    result="FAILED (exit $status), see $log and $build/artifacts/$target/"
    failed=1
  fi
  printf '%-10s %14s %8s  %s\n' "$target" "${runs:-?}" "$units" "$result"
done
if ((failed)); then
  grep -h -A3 'check failed\|ERROR: \|SUMMARY: ' "$build"/logs/*.log | head -40 >&2 || true
  echo "A fuzz target failed. Add its input to fuzz/corpus/<target>/ with the fix (fuzz/README.md)." >&2
  exit 1
fi
