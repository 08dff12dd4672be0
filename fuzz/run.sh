#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 20) from its
# seed corpus. Prints the executions per target; exits non-zero when a target
# finds a fault (its reproducer is left in build/fuzz/findings/).
#   fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    name=${source#fuzz/}
    targets+=("${name%_fuzz.cpp}")
  done
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/%/_fuzz}" >/dev/null

work=build/fuzz/work
mkdir -p build/fuzz/findings
status=0
summary=()
for target in "${targets[@]}"; do
  exe=build/fuzz/fuzz/${target}_fuzz
  seeds=fuzz/corpus/$target
  # New inputs go to the work corpus, so the seeds in the tree stay as committed.
  mkdir -p "$work/$target"
  log=build/fuzz/$target.log
  if "$exe" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="build/fuzz/findings/$target-" \
      "$work/$target" "$seeds" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 40 "$log" >&2
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  summary+=("$(printf '%-14s %10s executions in %ss  %s' "$target" "${runs:-?}" "$seconds" "$result")")
done

printf '%s\n' "${summary[@]}"
exit $status
