#!/usr/bin/env bash
# Runs kestrel-cli over every row and compares each picture, printed text
# and exit status byte for byte with what the build before the reshaping of
# core wrote for the same rows (pictures.tar.xz, made by run_rows.sh from
# that build and never from a later one), except the rows changed.txt lists
# as changed on purpose since, whose pictures are in changed.tar.xz.
# Usage: compare_rows.sh KESTREL_CLI
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/reference"
tar -xJf "$here/pictures.tar.xz" -C "$work/reference"
# The few pictures changed on purpose since, each listed with its reason.
listed=$(grep -v '^#' "$here/changed.txt" | cut -f1 | sort)
if [[ $listed != "$(tar -tJf "$here/changed.tar.xz" | sort)" ]]; then
  echo "changed.tar.xz and changed.txt do not name the same files" >&2
  exit 1
fi
tar -xJf "$here/changed.tar.xz" -C "$work/reference"
"$here/run_rows.sh" "$1" "$here/pictures.rows" "$work/now"
if ! diff -r --brief --exclude='*.err' "$work/reference" "$work/now"; then
  echo "rows that differ from the reference (see pictures.rows, one line per row):"
  diff -r --brief --exclude='*.err' "$work/reference" "$work/now" | grep -o '[0-9]\{3\}\.[a-z]*' | sort -u
  exit 1
fi
echo "$(ls "$work/reference" | wc -l) files identical"
