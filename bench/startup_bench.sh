#!/usr/bin/env bash
# Start-up to first paint of the desktop program on a private X server,
# ten starts: what the program measures from main() to the end of the view's
# first paint, and the whole process from launch to that point.
# Usage: bench/startup_bench.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
export KESTREL_BINARY="$build/gui/kestrel"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -euo pipefail -c '
  for run in $(seq 10); do
    start=$(date +%s%N)
    inside=$(QT_QPA_PLATFORM=xcb KESTREL_EXIT_AFTER_FIRST_PAINT=1 "$KESTREL_BINARY" 2>&1 >/dev/null \
             | sed -n "s/first paint after \([0-9.]*\) ms/\1/p")
    end=$(date +%s%N)
    echo "$inside $(( (end - start) / 1000000 ))"
  done
' | sort -n | awk '{ inside[NR] = $1; whole[NR] = $2 }
  END { printf "start-up to first paint, median of %d: %.1f ms inside main(), %d ms from launch (target under 500 ms)\n",
               NR, inside[int((NR + 1) / 2)], whole[int((NR + 1) / 2)] }'
