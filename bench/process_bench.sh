#!/usr/bin/env bash
# One picture per process, as a script that calls kestrel-cli once per label
# does: kestrel-cli against zint's whole process on the same JAN-13 text,
# PNG and BMP, taking turns, on tmpfs. Prints each median and the ratio.
# Usage: bench/process_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-50}
cli="$build/cli/kestrel-cli"
work=$(mktemp -d /dev/shm/kestrel-process.XXXXXX)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen  # both programs start the same way

# microseconds of one run of the command
micros() {
  local start end
  start=$(date +%s%N); "$@" >/dev/null 2>&1; end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for format in png bmp; do
  : >"$work/k" && : >"$work/z"
  for ((i = 0; i < runs; i++)); do
    micros "$cli" --profile "$work/none.ini" --type jan13 \
      --data 4901234567894 -o "$work/k.$format" >>"$work/k"
    micros zint -b 13 -d 490123456789 --filetype="$format" -o "$work/z.$format" >>"$work/z"
  done
  k=$(median <"$work/k") z=$(median <"$work/z")
  awk -v f="$format" -v k="$k" -v z="$z" 'BEGIN {
    printf "%s: kestrel-cli %.1f ms, zint %.1f ms, ratio %.1f (target at most 2)\n", f, k / 1000, z / 1000, k / z }'
done
