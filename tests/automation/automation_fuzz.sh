#!/usr/bin/env bash
# The robustness client against the real kestrel on a private session bus
# and X server: a seeded stream of arbitrary messages and clipboard contents,
# and beside it three clients of the typed interface with arguments of every
# kind (wrong types, huge strings, paths that cannot be written).
# Afterwards kestrel must still be running. The client's tally and kestrel's
# own output stay in the artefact folder.
# Usage: automation_fuzz.sh KESTREL AUTOMATION_FUZZ ARTEFACT_FOLDER [SEED [CALLS]]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../e2e/automation_session.sh
source "$here/../e2e/automation_session.sh"
automation_session_enter "$0" "$@"

kestrel=$1
fuzz=$2
artefacts=$3
seed=${4:-20240611}
calls=${5:-10000}
mkdir -p "$artefacts"

automation_private_run
automation_start_copy "$kestrel" "$automation_work" "$artefacts/automation-fuzz-kestrel.log" \
  || { echo "FAIL: kestrel did not take $automation_bus_name" >&2; exit 1; }

# Typed-interface clients at the same time as the numeric one: many
# clients at once, each answer checked by its own client.
typed_pids=()
for client in 1 2 3; do
  "$fuzz" --seed "$((seed + client))" --calls "$((calls / 5))" --typed "$automation_work" \
    >"$artefacts/automation-fuzz-typed-$client.txt" 2>&1 &
  typed_pids+=("$!")
done

status=0
"$fuzz" --seed "$seed" --calls "$calls" | tee "$artefacts/automation-fuzz.txt" || status=$?
for client in 1 2 3; do
  if ! wait "${typed_pids[client - 1]}"; then
    status=1
    echo "FAIL: typed client $client:" >&2
    head -n 25 "$artefacts/automation-fuzz-typed-$client.txt" >&2
  else
    head -n 1 "$artefacts/automation-fuzz-typed-$client.txt"
  fi
done
if ! kill -0 "$automation_pid" 2>/dev/null; then
  wait "$automation_pid" && code=0 || code=$?
  echo "FAIL: kestrel is no longer running (exit status $code)" >&2
  automation_pid=
  exit 1
fi
exit "$status"
