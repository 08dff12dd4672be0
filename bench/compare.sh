#!/usr/bin/env bash
# talvor-sum against an awk script computing the same total, on a file of
# 1,000,000 mixed lines. Prints both times and the ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target talvor-sum >/dev/null
bin=build/release/cli/talvor-sum
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk 'BEGIN {
  srand(7)
  for (i = 0; i < 1000000; i++) {
    k = i % 4
    if (k == 0) printf "%d:%02d\n", int(rand() * 12), int(rand() * 60)
    else if (k == 1) printf "1:%02d:%02d\n", int(rand() * 60), int(rand() * 60)
    else if (k == 2) printf "Track %d %d.%02d\n", i % 97, int(rand() * 9), int(rand() * 60)
    else printf "%d\n", int(rand() * 600)
  }
}' >"$work/sheet.txt"

# The same reading of these lines: the first number after the words, its
# fields cut at ":" or ".", combined as h:m:s.
cat >"$work/sum.awk" <<'AWK'
{
  match($0, /[-0-9.:]+/)
  s = substr($0, RSTART, RLENGTH)
  n = split(s, f, /[.:]/)
  v = 0
  for (j = 1; j <= n; j++) v = v * 60 + f[j]
  total += v
}
END {
  m = int(total / 60); h = int(total / 3600)
  printf "%d\n%d:%02d\n%d:%02d:%02d\n", total, m, total % 60, h, int((total - h * 3600) / 60), total % 60
}
AWK

# Mean wall time of five runs, in seconds (finer than /usr/bin/time's 10 ms),
# and the peak resident memory of one run, in kB.
seconds() {
  local start end
  start=$(date +%s%N)
  for _ in 1 2 3 4 5; do "$@" >/dev/null; done
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 5 / 1e9 }'
}
peak() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }

echo "file: $(wc -l <"$work/sheet.txt") lines, $(du -h "$work/sheet.txt" | cut -f1)"
echo "talvor-sum: $("$bin" "$work/sheet.txt" | tr '\n' ' ')"
echo "awk:        $(awk -f "$work/sum.awk" "$work/sheet.txt" | tr '\n' ' ')"
ts=$(seconds "$bin" "$work/sheet.txt")
as=$(seconds awk -f "$work/sum.awk" "$work/sheet.txt")
echo "talvor-sum: ${ts} s, peak $(peak "$bin" "$work/sheet.txt") kB"
echo "awk:        ${as} s, peak $(peak awk -f "$work/sum.awk" "$work/sheet.txt") kB"
awk -v t="$ts" -v a="$as" 'BEGIN { printf "talvor-sum is %.1f times faster\n", a / t }'
