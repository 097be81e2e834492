#!/usr/bin/env bash
# A user's first barcodes, typed into the real kestrel on a private X server:
# press I, pick the type, type the data, tick "自動付加" (and for Codabar the
# "2:5" ratio), press Enter. The window, the clipboard picture of Ctrl+C and
# the "BarCode.bmp" of Ctrl+S must each read back, with zbar and with ZXing,
# as the completed data. Screenshots stay in the artefact folder.
# Usage: editing_e2e.sh KESTREL_BINARY KESTREL_CLI_BINARY ARTEFACT_FOLDER
set -euo pipefail

if [[ -z ${KESTREL_E2E_DISPLAY:-} ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    env KESTREL_E2E_DISPLAY=1 bash "$0" "$@"
fi

kestrel=$1
cli=$2
artefacts=$3
mkdir -p "$artefacts"
export QT_QPA_PLATFORM=xcb

work=$(mktemp -d)
cleanup() {
  [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program runs from a folder of its own, so that Save writes beside it.
mkdir -p "$work/app"
cp "$kestrel" "$work/app/kestrel"

source "$(dirname "$0")/read_back.sh"

expect_reads() {  # what FILE ZBAR ZXING
  local what=$1 file=$2 zbar=$3 zxing=$4
  [[ -s $file ]] || { fail "$what: no picture"; return; }
  local got
  got=$(zbar_text "$file")
  [[ $got == "$zbar" ]] || fail "$what: zbar read '$got', expected '$zbar'"
  got=$(zxing_text "$file")
  [[ $got == "$zxing" ]] || fail "$what: ZXing read '$got', expected '$zxing'"
}

# One run of the program with a fresh profile.
#   name        artefact prefix
#   type_keys   keys that pick the type in the list ("" keeps JAN-13)
#   data        the code text typed
#   to_autoadd  keys from the code box to "自動付加", e.g. "Tab Tab Down Tab"
#   cli_type    the same symbology for kestrel-cli, to know the completed text
#   zbar_strip, zxing_strip: sed expressions that turn the completed text into
#               what each reader reports
run_case() {
  local name=$1 type_keys=$2 data=$3 to_autoadd=$4 cli_type=$5 zbar_sed=$6 zxing_sed=$7
  export XDG_CONFIG_HOME="$work/$name-config"
  export XDG_RUNTIME_DIR="$work/$name-runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  rm -f "$work/app/BarCode.bmp"

  local completed
  completed=$("$cli" --profile "$work/none.ini" --type "$cli_type" --data "$data" \
    --auto-add 1 --code-text)
  local zbar_expected zxing_expected
  zbar_expected=$(sed "$zbar_sed" <<<"$completed")
  zxing_expected=$(sed "$zxing_sed" <<<"$completed")

  "$work/app/kestrel" &
  pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kestrel$" | head -n 1)
  xdotool windowfocus --sync "$window" || true
  sleep 0.5
  xdotool key i
  local dialog
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^コード設定$" | head -n 1)
  xdotool windowfocus --sync "$dialog" || true
  sleep 0.3
  if [[ -n $type_keys ]]; then
    # shellcheck disable=SC2086
    xdotool key --delay 40 $type_keys
  fi
  xdotool key Tab Tab
  xdotool type --delay 20 "$data"
  # shellcheck disable=SC2086
  xdotool key $to_autoadd space
  sleep 0.2
  import -window "$dialog" "$artefacts/$name-dialog.png"
  xdotool key Return
  sleep 1
  if xdotool search --onlyvisible --name "^コード設定$" >/dev/null 2>&1; then
    import -window root "$artefacts/$name-stuck.png"
    fail "$name: the dialog is still open after Enter"
  fi

  xdotool windowfocus --sync "$window" || true
  import -window "$window" "$artefacts/$name-window.png"
  expect_reads "$name window" "$artefacts/$name-window.png" "$zbar_expected" "$zxing_expected"

  xdotool key ctrl+c
  sleep 0.5
  xclip -selection clipboard -t image/png -o >"$artefacts/$name-clipboard.png" 2>/dev/null || true
  expect_reads "$name clipboard" "$artefacts/$name-clipboard.png" "$zbar_expected" "$zxing_expected"

  xdotool key ctrl+s
  sleep 0.5
  [[ -f $work/app/BarCode.bmp ]] && cp "$work/app/BarCode.bmp" "$artefacts/$name-BarCode.bmp"
  expect_reads "$name BarCode.bmp" "$work/app/BarCode.bmp" "$zbar_expected" "$zxing_expected"

  xdotool key alt+f
  sleep 0.3
  xdotool key x
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$name: kestrel did not close through the File menu"
    kill "$pid"
  fi
  wait "$pid" || fail "$name: kestrel exited with $?"
  pid=

  local profile="$XDG_CONFIG_HOME/Plover/Kestrel.ini"
  grep -q '^AutoAdd=1$' "$profile" || fail "$name: AutoAdd=1 not stored at exit"
  echo "$name: $completed"
}

# From the code box: "ON", "高さ", then (where enabled) the ratio, the
# margins, the narrow width and the width, then "自動付加".
run_case jan13 "" 490123456789 "Tab Tab Tab Tab Tab Tab Tab" jan13 's/.*/&/' 's/.*/&/'
# Code 39 with its check character; the readers drop the stars.
run_case code39 "Down Down Down Down Down" KESTREL-39 "Tab Tab Tab Tab Tab Tab Tab Tab" code39 \
  's/^\*//; s/\*$//' 's/^\*//; s/\*$//'
# Codabar at 2:5 (zbar cannot read the narrowest 1:2); zbar keeps the start
# and stop characters, ZXing drops them.
run_case codabar "Down Down Down Down" 40156 "Tab Tab Tab Down Tab Tab Tab Tab Tab" codabar \
  's/.*/&/' 's/^.//; s/.$//'

# The same dialog at twice the scale, as on a high-resolution screen: kept
# for a look, and it must still open and close from the keyboard.
export XDG_CONFIG_HOME="$work/hidpi-config" XDG_RUNTIME_DIR="$work/hidpi-runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
QT_SCALE_FACTOR=2 "$work/app/kestrel" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Kestrel$" | head -n 1)
xdotool windowfocus --sync "$window" || true
sleep 0.5
xdotool key i
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^コード設定$" | head -n 1)
sleep 0.5
import -window "$dialog" "$artefacts/hidpi-dialog.png"
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name "^コード設定$" >/dev/null 2>&1 && fail "hidpi: Escape left the dialog open"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

exit $((failures > 0))
