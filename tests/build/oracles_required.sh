#!/usr/bin/env bash
# Configuring the project with the oracles required and none to be found
# must fail and name what is missing; with them found it must go through.
# Usage: oracles_required.sh CMAKE SOURCE_DIR
set -uo pipefail
cmake=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/empty"

"$cmake" -S "$source" -B "$work/missing" -G Ninja -DKESTREL_BUILD_BENCH=OFF \
  -DKESTREL_REQUIRE_ORACLES=ON -DKESTREL_ORACLE_SEARCH_PATH="$work/empty" >"$work/missing.log" 2>&1
status=$?
if [[ $status -eq 0 ]]; then
  echo "configure went through with every oracle missing"; exit 1
fi
for oracle in zint zbarimg ZXingReader rsvg-convert pdftoppm; do
  if ! tr '\n' ' ' <"$work/missing.log" | grep -q "Oracles required but missing:.*$oracle"; then
    echo "the failure does not name $oracle:"; cat "$work/missing.log"; exit 1
  fi
done

# Without the requirement the same machine still configures (the comparisons skip).
if ! "$cmake" -S "$source" -B "$work/optional" -G Ninja -DKESTREL_BUILD_BENCH=OFF \
  -DKESTREL_REQUIRE_ORACLES=OFF -DKESTREL_ORACLE_SEARCH_PATH="$work/empty" >"$work/optional.log" 2>&1; then
  echo "configure without the requirement failed:"; cat "$work/optional.log"; exit 1
fi
echo "a required, missing oracle stops the configure step; an optional one does not"
