#!/usr/bin/env bash
# The real kestrel on a private X server: the lock-key panes follow Caps
# Lock and Num Lock as xdotool presses them, and a greyed menu item shows its
# prompt. Screenshots of each step stay in the artefacts. (Xvfb's keymap
# names a Scroll Lock light but binds no modifier to it, so it never lights
# there.)
# Usage: status_bar_e2e.sh KESTREL_BINARY ARTEFACT_FOLDER
set -euo pipefail
kestrel=$1
artefacts=$2
mkdir -p "$artefacts"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/private_environment.sh"
private_environment "$work"
export KESTREL_BINARY="$kestrel" ARTEFACTS="$artefacts" WORK="$work"

xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -euo pipefail -c '
  QT_QPA_PLATFORM=xcb "$KESTREL_BINARY" 2>/dev/null &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kestrel$" | head -n 1)
  sleep 1
  # The window away from the pointer, so no hover changes a picture.
  xdotool mousemove 1200 1000
  eval "$(xdotool getwindowgeometry --shell "$window")"
  shot() { sleep 0.5; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$WORK/$1.png"; }
  # Where two shots differ, as WxH+X+Y, or nothing when they are the same.
  changed() {
    convert "$WORK/$1.png" "$WORK/$2.png" -compose difference -composite -threshold 0 \
      -format "%@" info: 2>/dev/null | grep -v "^0x0" || true
  }
  fail=0
  shot idle
  cp "$WORK/idle.png" "$ARTEFACTS/status-idle.png"

  # Each key lights its own pane, left to right, in the bottom line, and
  # going off brings back the idle picture.
  previous=0
  for key in Caps_Lock Num_Lock; do
    xdotool key "$key"
    shot "$key"
    cp "$WORK/$key.png" "$ARTEFACTS/status-$key.png"
    region=$(changed idle "$key")
    if [[ -z $region ]]; then
      echo "$key changed nothing in the window" >&2; fail=1; continue
    fi
    x=$(sed -E "s/^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$/\1/" <<<"$region")
    y=$(sed -E "s/^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$/\2/" <<<"$region")
    if ((y < HEIGHT - 30 || x <= previous)); then
      echo "$key changed $region, not a pane right of the previous one in the status bar" >&2
      fail=1
    fi
    previous=$x
    xdotool key "$key"
    shot "$key-off"
    if [[ -n $(changed idle "$key-off") ]]; then
      echo "$key pressed again did not bring back the idle status bar" >&2; fail=1
    fi
  done

  # Save is greyed while there is no code: its prompt shows all the same.
  xdotool windowfocus --sync "$window" || true
  xdotool key --window "$window" alt+f
  sleep 0.5
  menu=$(xdotool search --onlyvisible --class kestrel | grep -v "^$window$" | tail -n 1 || true)
  if [[ -z $menu ]]; then
    echo "the File menu did not open" >&2; fail=1
  else
    eval "$(xdotool getwindowgeometry --shell "$menu" | sed "s/^/MENU_/")"
    # Print, Set-up, a separator, Save: the fourth row of five equal ones
    # and two thin separators; aim at its middle by proportion. The rows
    # around it are greyed too or a separator, never an item Qt prompts for.
    xdotool mousemove $((MENU_X + 40)) $((MENU_Y + MENU_HEIGHT * 47 / 100))
    shot save-hover
    import -window root "$ARTEFACTS/status-save-hover.png"
    # Only the status bar is compared: the menu covers part of the window.
    convert "$WORK/idle.png" -gravity south -crop "${WIDTH}x24+0+0" +repage "$WORK/idle-bar.png"
    convert "$WORK/save-hover.png" -gravity south -crop "${WIDTH}x24+0+0" +repage "$WORK/hover-bar.png"
    if [[ -z $(changed idle-bar hover-bar) ]]; then
      echo "hovering the greyed Save item showed no prompt" >&2; fail=1
    fi
    xdotool key Escape
  fi
  exit $fail
'
