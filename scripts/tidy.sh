#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the program's own sources in a configured build
# folder and fails on any warning. The model folders, which own every rule and file format, get
# every check including the static analyzer; the Qt windows get every check but the analyzer,
# which costs four times as long over Qt's headers and reads Qt's ownership of objects (a parent
# deletes its children, a single-shot timer deletes its slot) as leaks. `tidy.sh BUILD all` runs
# it there too. The tests and benchmarks are left out.
set -euo pipefail
build="${1:-build/dev}"
scope="${2:-}"
cd "$(dirname "$0")/.."
# Our headers only; Qt's, GoogleTest's and the generated ones are not ours to change.
header_filter='/(app|core|cycling|history|ical|mainwindow|prefs|printing|recurring|sky|tools)/([^/]+/)?[^/]+\.h$'
not_ours='/build/|/tests/|/bench/|/testing/|/fuzz/'
windows='/ui/|/app/|/resources/'
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
tidy() {
  local status=0
  run-clang-tidy-14 -p "$build" -quiet -j "$(nproc)" -header-filter "$header_filter" "$@" \
    >"$log" 2>&1 || status=$?
  # Keep the findings, drop the command lines and the counts of suppressed system warnings.
  grep -v -e '^clang-tidy-14 ' -e 'warnings generated' -e '^Enabled checks' "$log" || true
  if grep -q -e 'warning: ' -e 'error: ' "$log"; then
    status=1
  fi
  return "$status"
}
if [ "$scope" = all ]; then
  tidy "^(?!.*($not_ours)).*\.cpp$"
else
  tidy "^(?!.*($not_ours|$windows)).*\.cpp$"
  tidy -checks='-clang-analyzer-*' "^(?!.*($not_ours))(?=.*($windows)).*\.cpp$"
fi
