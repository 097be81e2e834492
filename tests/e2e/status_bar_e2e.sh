#!/usr/bin/env bash
# The real kestrel's status bar on a private X server: the lock-key panes
# follow Caps Lock and Num Lock (Xvfb binds no modifier to Scroll Lock), and
# a greyed menu item shows its prompt. The screenshots stay in the artefacts.
# Usage: status_bar_e2e.sh KESTREL_BINARY ARTEFACT_FOLDER
set -euo pipefail
mkdir -p "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/private_environment.sh"
private_environment "$work"
export KESTREL_BINARY="$1" SHOTS="$2/status"

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -euo pipefail -c '
  QT_QPA_PLATFORM=xcb "$KESTREL_BINARY" 2>/dev/null &
  trap "kill $! 2>/dev/null || true" EXIT
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kestrel$" | head -n 1)
  sleep 1
  xdotool mousemove 1200 1000  # away from the window: no hover changes a picture
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The status bar: the bottom 24 rows of the window.
  shot() { sleep 0.5; import -window root -crop "${WIDTH}x24+$X+$((Y + HEIGHT - 24))" +repage "$SHOTS-$1.png"; }
  # Where two shots differ, as WxH+X+Y, or nothing.
  changed() {
    convert "$SHOTS-$1.png" "$SHOTS-$2.png" -compose difference -composite -threshold 0 \
      -format "%@" info: 2>/dev/null | grep -v "^0x0" || true
  }
  fail=0
  shot idle
  # Each key lights its own pane, left of the next one; off, the bar is idle again.
  previous=0
  for key in Caps_Lock Num_Lock; do
    xdotool key "$key"
    shot "$key"
    IFS="x+" read -r _ _ x _ <<<"$(changed idle "$key")"
    [[ -n $x ]] && ((x > previous)) || { echo "$key lit no pane right of the previous one" >&2; fail=1; }
    previous=${x:-0}
    xdotool key "$key"
    shot "$key-off"
    [[ -z $(changed idle "$key-off") ]] || { echo "$key off did not bring back the idle bar" >&2; fail=1; }
  done

  # Save is greyed while there is no code: its prompt shows all the same.
  xdotool windowfocus --sync "$window" || true
  xdotool key --window "$window" alt+f
  sleep 0.5
  menu=$(xdotool search --onlyvisible --class kestrel | grep -v "^$window$" | tail -n 1 || true)
  [[ -n $menu ]] || { echo "the File menu did not open" >&2; exit 1; }
  eval "$(xdotool getwindowgeometry --shell "$menu" | sed "s/^/MENU_/")"
  # Print, Set-up, a separator, Save: the fourth of five equal rows and two
  # thin separators. Its neighbours are greyed too or a separator, never an
  # item Qt prompts for.
  xdotool mousemove $((MENU_X + 40)) $((MENU_Y + MENU_HEIGHT * 47 / 100))
  shot save-hover
  [[ -n $(changed idle save-hover) ]] || { echo "the greyed Save item showed no prompt" >&2; fail=1; }
  exit $fail
'
