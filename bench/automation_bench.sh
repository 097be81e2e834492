#!/usr/bin/env bash
# Round trips of the automation messages against a running kestrel on a
# private X server and session bus: over one persistent connection
# (automation_bench), and through one kestrel-send process per message.
# Run by hand; it prints a table of medians and 90th percentiles.
# Usage: bench/automation_bench.sh [BUILD_FOLDER [CALLS]]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/e2e/automation_session.sh
source "$root/tests/e2e/automation_session.sh"
automation_session_enter "$0" "$@"

build=$(cd "${1:-$root/build}" && pwd)
calls=${2:-1000}
for program in gui/kestrel send/kestrel-send bench/automation_bench; do
  [[ -x $build/$program ]] || { echo "build $build/$program first" >&2; exit 1; }
done

automation_private_run
automation_start_copy "$build/gui/kestrel" "$automation_work" \
  || { echo "kestrel did not take $automation_bus_name" >&2; exit 1; }

printf '%-44s %6s %9s %9s\n' "case" "calls" "median ms" "p90 ms"
"$build/bench/automation_bench" --calls "$calls"

# A process per message, as a shell script drives kestrel.
send_calls=$((calls / 5))
for ((i = 0; i < send_calls; i++)); do
  start=$(date +%s%N)
  "$build/send/kestrel-send" UM_SETTYPE 0 0 >/dev/null
  echo $(($(date +%s%N) - start))
done | sort -n | awk -v n="$send_calls" '
  { t[NR] = $1 }
  END { printf "%-44s %6d %9.3f %9.3f\n", "kestrel-send UM_SETTYPE 0 (a process each)", n,
               t[int(NR / 2) + 1] / 1e6, t[int(NR * 9 / 10) + 1] / 1e6 }'
