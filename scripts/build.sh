#!/usr/bin/env bash
# Configures and builds everything into build/, as the release preset the
# test script uses does (optimised, with line tables), so either script
# reuses what the other built.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build build
