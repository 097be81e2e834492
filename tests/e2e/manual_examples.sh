#!/usr/bin/env bash
# Every command the manual shows, run as it is written: its kestrel-cli
# examples in an empty folder, its kestrel-send and gdbus examples against
# the real kestrel on a private X server and session bus. Each example must
# succeed and leave what the manual says it does.
# Usage: manual_examples.sh MANUAL KESTREL KESTREL_SEND KESTREL_CLI
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=automation_session.sh
source "$here/automation_session.sh"
automation_session_enter "$0" "$@"
source "$here/read_back.sh"

manual=$1
kestrel=$2
send=$3
cli=$4

automation_private_run
work=$automation_work
mkdir -p "$work/bin" "$work/cli"
ln -s "$cli" "$work/bin/kestrel-cli"
ln -s "$send" "$work/bin/kestrel-send"
export PATH="$work/bin:$PATH"

# The manual's <pre> blocks, each ended by a NUL, with HTML's escapes undone.
awk 'BEGIN { RS = "</pre>" } /<pre>/ { sub(/.*<pre>/, ""); printf "%s%c", $0, 0 }' "$manual" \
  | sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e "s/&#39;/'/g" -e 's/&amp;/\&/g' \
  >"$work/blocks"

blocks=0
while IFS= read -r -d '' block; do
  blocks=$((blocks + 1))
  case $block in
    kestrel-cli*)
      # The batch example reads numbers.txt from the folder it runs in.
      printf '4901234567894\n4006381333931\n' >"$work/cli/numbers.txt"
      if ! (cd "$work/cli" && bash -euo pipefail -c "$block") >"$work/cli.out" 2>&1; then
        fail "kestrel-cli example failed: $(head -c 400 "$work/cli.out")"
      fi
      # What its lines write.
      for file in label.bmp jan.bmp label-1.bmp jan8.svg; do
        [[ -s "$work/cli/$file" ]] || fail "the kestrel-cli example wrote no $file"
      done
      [[ $(zbar_text "$work/cli/label.bmp") == KESTREL-39 ]] || fail "label.bmp does not read KESTREL-39"
      [[ $(zbar_text "$work/cli/jan.bmp") == 4901234567894 ]] || fail "jan.bmp does not read 4901234567894" ;;
    kestrel-send* | gdbus*)
      if [[ -z ${automation_pid:-} ]]; then
        automation_start_copy "$kestrel" "$work" "$work/kestrel.log" \
          || { fail "kestrel did not take $automation_bus_name"; break; }
      fi
      rm -f "$work/app/BarCode.bmp"
      if ! bash -euo pipefail -c "$block" >"$work/send.out" 2>&1; then
        fail "example failed: $(head -c 400 "$work/send.out")"
      fi
      case $block in
        *"UM_OUTPUT 1"*)
          # Code 39 with its check character, as the manual's comment says.
          [[ $(zbar_text "$work/app/BarCode.bmp") == KESTRELO ]] \
            || fail "BarCode.bmp does not read KESTRELO: '$(zbar_text "$work/app/BarCode.bmp")'" ;;
        gdbus*) [[ $(tail -n 1 "$work/send.out") == "(0,)" ]] || fail "gdbus answered $(cat "$work/send.out")" ;;
      esac ;;
    *) fail "a command the test does not know how to run: ${block%%$'\n'*}" ;;
  esac
done <"$work/blocks"

((blocks >= 3)) || fail "only $blocks examples found in $manual"
echo "manual: $blocks examples, $failures failures"
exit $((failures > 0))
