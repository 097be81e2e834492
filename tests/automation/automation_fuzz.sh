#!/usr/bin/env bash
# The robustness client against the real kestrel on a private session bus
# and X server: a seeded stream of arbitrary messages and clipboard contents.
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

work=$(mktemp -d)
pid=
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
automation_private_environment "$work"

started=1
automation_start_copy "$kestrel" "$work" "$artefacts/automation-fuzz-kestrel.log" || started=0
pid=$automation_pid  # for the clean-up, started or not
((started)) || { echo "FAIL: kestrel did not take $automation_bus_name" >&2; exit 1; }

status=0
"$fuzz" --seed "$seed" --calls "$calls" | tee "$artefacts/automation-fuzz.txt" || status=$?
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" && code=0 || code=$?
  echo "FAIL: kestrel is no longer running (exit status $code)" >&2
  pid=
  exit 1
fi
exit "$status"
