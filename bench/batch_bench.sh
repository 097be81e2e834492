#!/usr/bin/env bash
# 2,000 JAN-13 pictures (24-bit 300 x 150 BMP files) three ways, in one run:
# kestrel-cli --batch, a trivial program that only writes the same bytes
# (the limit), and zint --batch on the same data (1-bit files, for reference).
# Usage: bench/batch_bench.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli="$build/cli/kestrel-cli"
writer="$build/bench/trivial_writer"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/kestrel" "$work/trivial" "$work/zint"

# 2,000 distinct JAN-13 numbers with their check digits.
awk 'BEGIN { srand(7); for (n = 0; n < 2000; n++) {
  d = "49"; for (i = 0; i < 10; i++) d = d int(rand() * 10);
  s = 0; for (i = 1; i <= 12; i++) s += substr(d, i, 1) * (i % 2 ? 1 : 3);
  print d (10 - s % 10) % 10 } }' > "$work/data.txt"

seconds() {
  local start end
  start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }'
}
rate() { awk -v s="$1" 'BEGIN { printf "%.0f", 2000 / s }'; }

kestrel=$(seconds "$cli" --profile "$work/none.ini" --depth 1 --batch "$work/data.txt" -o "$work/kestrel/k-{n}.bmp")
trivial=$("$writer" "$work/trivial" "$work"/kestrel/k-*.bmp)
zint=$(seconds zint -b 13 --batch -i "$work/data.txt" --filetype=bmp -o "$work/zint/z~~~~.bmp")

count() { find "$1" -name '*.bmp' | wc -l; }
printf '%-28s %6s files %8.3f s %8s files/s\n' \
  "kestrel-cli --batch" "$(count "$work/kestrel")" "$kestrel" "$(rate "$kestrel")" \
  "trivial writer (limit)" "$(count "$work/trivial")" "$trivial" "$(rate "$trivial")" \
  "zint --batch (1-bit)" "$(count "$work/zint")" "$zint" "$(rate "$zint")"
awk -v t="$trivial" -v k="$kestrel" 'BEGIN { printf "kestrel-cli rate / limit rate: %.2f (target at least 0.5)\n", t / k }'
