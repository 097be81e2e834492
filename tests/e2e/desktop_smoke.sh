#!/usr/bin/env bash
# Starts the real kestrel on a private X server, keeps a screenshot, closes
# it through the File menu and checks what the close wrote to the profile.
# Usage: desktop_smoke.sh KESTREL_BINARY ARTEFACT_FOLDER
set -euo pipefail
kestrel=$1
artefacts=$2
mkdir -p "$artefacts"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/private_environment.sh"
private_environment "$work"
export KESTREL_BINARY="$kestrel" ARTEFACTS="$artefacts"

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -euo pipefail -c '
  QT_QPA_PLATFORM=xcb "$KESTREL_BINARY" some-file-to-ignore.bmp &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kestrel$" | head -n 1)
  sleep 1  # let the first paint happen
  import -window root "$ARTEFACTS/kestrel-start.png"
  xdotool windowfocus --sync "$window" || true
  xdotool key --window "$window" alt+f
  sleep 0.5
  xdotool key x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "kestrel did not close through the File menu" >&2
    kill "$pid"; exit 1
  fi
  wait "$pid"
'

profile="$XDG_CONFIG_HOME/Plover/Kestrel.ini"
[[ -f $profile ]] || { echo "no profile written at $profile" >&2; exit 1; }
cp "$profile" "$artefacts/Kestrel.ini"
fail=0
expect() {
  if ! grep -qE "$1" "$profile"; then echo "profile lacks: $1" >&2; fail=1; fi
}
for key in CodeHigh CodeType Height Width Check AutoAdd DispCode Aspect NWidth Xmargin Ymargin Case; do
  expect "^$key="
done
expect '^\[Codabar\]'
expect '^\[Code39\]'
expect '^GapX=1$'
expect '^Version=2.08$'
expect "^Path=.*kestrel"
expect '^WindowPos="?-?[0-9]+(,-?[0-9]+){9}"?$'
[[ -s "$artefacts/kestrel-start.png" ]] || { echo "no screenshot" >&2; fail=1; }
exit $fail
