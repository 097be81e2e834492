#!/usr/bin/env bash
# kestrel-cli built with ThreadSanitizer (the tsan preset) draws a batch on
# two threads, with the human-readable text and two comment lines (Japanese
# among them), as BMP and as PNG. Any race report fails the run; reports
# inside Qt's and the font libraries' own code are suppressed in tsan.supp,
# each with its reason.
# Usage: tsan_batch.sh KESTREL_CLI
set -euo pipefail
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen HOME=$work XDG_CONFIG_HOME=$work/.config
export TSAN_OPTIONS="suppressions=$here/tsan.supp halt_on_error=1 exitcode=66 report_signal_unsafe=0"
for n in $(seq 1 24); do printf '49012345%04d\n' "$n"; done >"$work/lines.txt"
for format in bmp png; do
  "$cli" --profile "$work/none.ini" --type jan13 --auto-add 1 --text 1 --jobs 2 \
    --set 'Comment/String1=ロット 7' --set 'Comment/String2=ｶﾅ 見本 2' \
    --set Comment/High1=18 --set Comment/High2=14 \
    --batch "$work/lines.txt" -o "$work/label-{n}.$format"
  count=$(ls "$work"/label-*."$format" | wc -l)
  if [[ $count -ne 24 ]]; then
    echo "$format: $count pictures written, 24 expected"; exit 1
  fi
done
echo "48 pictures on two threads, no race reported"
