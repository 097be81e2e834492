#!/usr/bin/env bash
# 2,000 JAN-13 pictures, in one run: kestrel-cli --batch writing 24-bit
# 300 x 150 BMP files against a trivial program that only writes the same
# bytes (the limit); 1-bit BMP and PNG files against zint --batch on the same
# data; two jobs against one; SVG and PDF files.
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

mkdir -p "$work/bpp1" "$work/jobs2" "$work/png" "$work/zpng" "$work/svg" "$work/pdf"
k() { "$cli" --profile "$work/none.ini" --batch "$work/data.txt" "$@"; }
kestrel=$(seconds k --depth 1 -o "$work/kestrel/k-{n}.bmp")
trivial=$("$writer" "$work/trivial" "$work"/kestrel/k-*.bmp)
zint=$(seconds zint -b 13 --batch -i "$work/data.txt" --filetype=bmp -o "$work/zint/z~~~~.bmp")
bpp1=$(seconds k --bpp 1 -o "$work/bpp1/k-{n}.bmp")
jobs2=$(seconds k --bpp 1 --jobs 2 -o "$work/jobs2/k-{n}.bmp")
png=$(seconds k -o "$work/png/k-{n}.png")
zpng=$(seconds zint -b 13 --batch -i "$work/data.txt" --filetype=png -o "$work/zpng/z~~~~.png")
svg=$(seconds k -o "$work/svg/k-{n}.svg")
pdf=$(seconds k -o "$work/pdf/k-{n}.pdf")

count() { find "$1" -type f | wc -l; }
row() { printf '%-34s %6s files %8.3f s %8s files/s\n' "$1" "$(count "$2")" "$3" "$(rate "$3")"; }
row "kestrel-cli 24-bit BMP" "$work/kestrel" "$kestrel"
row "trivial writer (limit)" "$work/trivial" "$trivial"
row "kestrel-cli --bpp 1" "$work/bpp1" "$bpp1"
row "kestrel-cli --bpp 1 --jobs 2" "$work/jobs2" "$jobs2"
row "zint --batch (1-bit BMP)" "$work/zint" "$zint"
row "kestrel-cli PNG" "$work/png" "$png"
row "zint --batch --filetype=png" "$work/zpng" "$zpng"
row "kestrel-cli SVG" "$work/svg" "$svg"
row "kestrel-cli PDF" "$work/pdf" "$pdf"
ratio() { awk -v a="$2" -v b="$3" -v t="$4" -v l="$1" 'BEGIN { printf "%-34s %.2f (target at least %s)\n", l, b / a, t }'; }
ratio "24-bit rate / limit rate" "$kestrel" "$trivial" 0.5
ratio "--bpp 1 rate / zint BMP rate" "$bpp1" "$zint" 1.5
ratio "PNG rate / zint PNG rate" "$png" "$zpng" 1
ratio "--jobs 2 rate / one job's rate" "$jobs2" "$bpp1" "-"
