#!/usr/bin/env bash
# Installs what is missing, builds Kestrel and starts the desktop program.
# Arguments go to the program, which ignores them as a desktop program does.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/gui/kestrel "$@"
