#!/usr/bin/env bash
# Runs kestrel-cli over every row of a rows file, from an empty profile,
# writing NNN.<format> (the picture), NNN.txt (standard output and the exit
# status) and NNN.err (standard error) for row NNN into OUTDIR.
# Usage: run_rows.sh KESTREL_CLI ROWS OUTDIR
set -euo pipefail
cli=$1 rows=$2 out=$3
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config QT_QPA_PLATFORM=offscreen
n=0
while IFS=$'\t' read -r format words; do
  [[ $format == \#* ]] && continue
  n=$((n + 1))
  name=$(printf '%03d' "$n")
  eval "args=($words)"
  picture=()
  [[ $format != - ]] && picture=(-o "$out/$name.$format")
  status=0
  "$cli" --profile "$home/none.ini" "${args[@]}" "${picture[@]}" \
    >"$out/$name.txt" 2>"$out/$name.err" || status=$?
  echo "exit $status" >>"$out/$name.txt"
done <"$rows"
