#!/usr/bin/env bash
# Installs what is missing, builds Kestrel and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [[ $# -eq 0 ]]; then
  set -- --help
fi
exec build/cli/kestrel-cli "$@"
