#!/usr/bin/env bash
# Another program driving the real kestrel through its D-Bus automation
# interface, the way clients use kestrel-send: each row of the tables below
# is one message with its wParam and lParam, the result kestrel-send must
# print, and what must be seen from outside afterwards (the clipboard's text
# or picture, "BarCode.bmp" beside the program). Pictures are read back with
# zbar and ZXing; the module text is compared with kestrel-cli's.
# Then: refused message numbers, a second instance started while the first
# runs, and the bus name passing to it when the first closes.
# Clipboard texts and pictures stay in the artefact folder.
# Usage: automation_e2e.sh KESTREL KESTREL_SEND KESTREL_CLI ARTEFACT_FOLDER
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=automation_session.sh
source "$here/automation_session.sh"
automation_session_enter "$0" "$@"

kestrel=$1
send=$2
cli=$3
artefacts=$4
mkdir -p "$artefacts"
rm -f "$artefacts"/automation-[0-9]*

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
private_environment "$work"

# The program runs from a folder of its own, so that "BarCode.bmp" lands
# beside it and nowhere else.
mkdir -p "$work/app"
cp "$kestrel" "$work/app/kestrel"
bmp="$work/app/BarCode.bmp"

source "$(dirname "$0")/read_back.sh"

# --- Reading what kestrel left behind ---------------------------------------

clipboard_text() { timeout 10 xclip -selection clipboard -o 2>/dev/null || true; }
clipboard_png() { timeout 10 xclip -selection clipboard -t image/png -o >"$1" 2>/dev/null || true; }

# The distinct widths of the bars and spaces on row $2 of picture $1, quiet
# zones left out: "2 4" for narrow 2 and wide 4 pixels.
run_widths() {
  /usr/bin/convert "$1" -crop "x1+0+$2" +repage -colorspace gray -depth 8 gray:- \
    | od -An -v -tu1 | tr -s ' ' '\n' | sed '/^$/d' \
    | awk '{ dark = $1 < 128
             if (NR > 1 && dark != last) { if (started) widths[run] = 1; started = 1; run = 0 }
             last = dark; run++ }
           END { for (w in widths) print w }' \
    | sort -n | tr '\n' ' ' | sed 's/ $//'
}

pixel_shade() {  # FILE X Y -> dark or light
  local level
  level=$(/usr/bin/convert "$1" -colorspace gray -format "%[fx:int(255*p{$2,$3}.r)]" info:)
  ((level < 128)) && echo dark || echo light
}

# --- Putting things on the clipboard ------------------------------------------

# xclip keeps serving the text in the background until kestrel takes the
# clipboard over; the read-back makes sure it owns it before the message.
feed_text() {
  local text
  text=$(printf '%b' "$1"; echo x)
  text=${text%x}
  printf '%s' "$text" | xclip -selection clipboard -i
  for _ in $(seq 50); do
    [[ $(clipboard_text; echo x) == "${text}x" ]] && return 0
    sleep 0.1
  done
  fail "could not put '$1' on the clipboard"
}

feed_image() {
  xclip -selection clipboard -t image/png -i "$1"
  for _ in $(seq 50); do
    clipboard_png "$work/fed.png"
    cmp -s "$work/fed.png" "$1" && return 0
    sleep 0.1
  done
  fail "could not put the picture $1 on the clipboard"
}

# --- One message ---------------------------------------------------------------

step_number=0

# The effect column: what must hold after the message.
#   -                   nothing seen from outside
#   text=T              the clipboard's text is T
#   reads=Z[/X]         the clipboard picture reads Z with zbar and X (default Z) with ZXing
#   size=WxH            the clipboard picture's size
#   pixel=X,Y:SHADE     the clipboard picture is dark or light there
#   widths=ROW:LIST     the distinct bar and space widths on that row
#   same=FILE           the clipboard still holds that picture
#   file=Z[/X]          "BarCode.bmp" was written and reads Z / X
#   no-file             no "BarCode.bmp" was written
check_effect() {
  local label=$1 effect=$2
  local key=${effect%%=*} value=${effect#*=}
  local picture="$artefacts/$label-clipboard.png"
  case $key in
    text | same | -) ;;
    file | no-file) ;;
    *) [[ -s $picture ]] || clipboard_png "$picture"
       [[ -s $picture ]] || { fail "$label: no picture on the clipboard for $effect"; return; } ;;
  esac
  local got
  case $key in
    -) ;;
    text)
      got=$(clipboard_text; echo x)
      got=${got%x}
      printf '%s' "$got" >"$artefacts/$label-clipboard.txt"
      [[ $got == "$value" ]] || fail "$label: clipboard text '$got', expected '$value'" ;;
    reads) expect_reads "$label clipboard" "$picture" "$value" ;;
    size)
      got=$(/usr/bin/identify -format '%wx%h' "$picture")
      [[ $got == "$value" ]] || fail "$label: picture of $got, expected $value" ;;
    pixel)
      local xy=${value%%:*}
      got=$(pixel_shade "$picture" "${xy%%,*}" "${xy#*,}")
      [[ $got == "${value#*:}" ]] || fail "$label: pixel $xy is $got, expected ${value#*:}" ;;
    widths)
      got=$(run_widths "$picture" "${value%%:*}")
      [[ $got == "${value#*:}" ]] || fail "$label: widths on row ${value%%:*} are '$got', expected '${value#*:}'" ;;
    same)
      clipboard_png "$picture"
      cmp -s "$picture" "$value" || fail "$label: the clipboard no longer holds $(basename "$value")" ;;
    file)
      if [[ -f $bmp ]]; then
        cp "$bmp" "$artefacts/$label-BarCode.bmp"
        expect_reads "$label BarCode.bmp" "$bmp" "$value"
      else
        fail "$label: no BarCode.bmp written"
      fi ;;
    no-file) [[ ! -e $bmp ]] || fail "$label: BarCode.bmp written" ;;
    *) fail "$label: unknown effect '$effect' in the table" ;;
  esac
}

# step WHAT BEFORE MESSAGE WPARAM LPARAM RESULT [EFFECT...]
#   BEFORE: - leaves the clipboard, text=T puts text T (printf %b escapes),
#           image=FILE puts a picture (and so no text)
#   LPARAM: one number, or kestrel-send's "--low N --high M"
#   RESULT: the number kestrel-send prints, or "refused" for exit status 2
#           with one line on standard error
step() {
  local what=$1 before=$2 message=$3 wparam=$4 lparam=$5 expected=$6
  shift 6
  step_number=$((step_number + 1))
  local label
  label=$(printf 'automation-%02d-%s' "$step_number" "$(tr -c 'A-Za-z0-9\n' '-' <<<"$what" | tr -s '-')")
  label=${label%-}

  case $before in
    -) ;;
    text=*) feed_text "${before#text=}" ;;
    image=*) feed_image "${before#image=}" ;;
    *) fail "$label: unknown clipboard set-up '$before'" ;;
  esac
  rm -f "$bmp"

  local largs got status=0
  read -ra largs <<<"$lparam"
  got=$(timeout 30 "$send" "$message" "$wparam" "${largs[@]}" 2>"$work/send.err") || status=$?
  if [[ $expected == refused ]]; then
    [[ $status == 2 ]] || fail "$label: kestrel-send exited $status (printed '$got'), expected 2"
    [[ -z $got ]] || fail "$label: refused, yet printed '$got'"
    # One line why; Qt's own teardown warnings, when they come, are not ours.
    [[ $(grep -vc '^Trying to construct an instance of an invalid type' "$work/send.err") == 1 ]] \
      || fail "$label: expected one line why, got: $(cat "$work/send.err")"
  else
    if [[ $status != 0 || $got != "$expected" ]]; then
      fail "$label: $message $wparam $lparam gave '$got' (exit $status: $(head -c 300 "$work/send.err")), expected $expected"
    fi
  fi
  local effect
  for effect in "$@"; do check_effect "$label" "$effect"; done
}


# --- Expectations from outside kestrel ----------------------------------------

# The module text of the JAN-13 example, from the command-line front end
# with every setting at its default.
jan=4901234567894
jan_module=$("$cli" --profile "$work/none.ini" --data "$jan" --module-text)
[[ -n $jan_module ]] || { echo "FAIL: kestrel-cli gave no module text for $jan" >&2; exit 1; }
# A second JAN-13 with a correct check digit (the usual published example).
jan2=4006381333931
sentinel='left by another program'
# A picture that is not text, for the clipboard that holds no text.
/usr/bin/convert -size 8x8 xc:red "$work/red.png"

# A replacement a killed instance left beside the program, and one of a
# live process: only the dead one's goes at start.
sleep 0 & dead=$!
wait "$dead"
printf 'half a picture' >"$work/app/.kestrel-$dead-0.tmp"
printf 'being written' >"$work/app/.kestrel-$$-0.tmp"

"$work/app/kestrel" &
pid1=$!
pids+=("$pid1")
automation_wait_for_owner "$pid1" 20 || { echo "FAIL: kestrel did not take $automation_bus_name" >&2; exit 1; }
[[ ! -e "$work/app/.kestrel-$dead-0.tmp" ]] || fail "a dead writer's temporary file is still beside the program"
[[ -e "$work/app/.kestrel-$$-0.tmp" ]] || fail "a live writer's temporary file was removed"
rm -f "$work/app/.kestrel-$$-0.tmp"

# --- Fresh program: the code text is still empty -------------------------------
#    what                                 before             message      wParam     lParam  result  effect
step "empty text to file"                 -                  UM_OUTPUT    1          0       -1      no-file
step "ITF"                                -                  UM_SETTYPE   2          0       0
step "empty ITF to clipboard"             "text=$sentinel"   UM_OUTPUT    0          0       0       "text=$sentinel"
step "picture with no text on clipboard"  "image=$work/red.png" UM_CLIPTEXT 1         0       0       "same=$work/red.png"

# --- JAN-13 through the clipboard ------------------------------------------------
n=${#jan_module}
step "JAN-13"                             -                  UM_SETTYPE   0          0       0
step "JAN-13 text in, module text out"    "text=$jan"        UM_CLIPTEXT  0          0       "$n"    "text=$jan_module"
step "JAN-13 text with a second line"     "text=$jan\nsecond line" UM_CLIPTEXT 0     0       "$n"    "text=$jan_module"
step "JAN-13 text with CRLF lines"        "text=$jan\r\n$jan2\r\n" UM_CLIPTEXT 0     0       "$n"    "text=$jan_module"
step "no text encodes the current text"   "image=$work/red.png" UM_CLIPTEXT 0        0       "$n"    "text=$jan_module"
step "JAN-13 to file"                     -                  UM_OUTPUT    1          0       0       "file=$jan"
step "JAN-13 to clipboard"                -                  UM_OUTPUT    0          0       0       "reads=$jan"
step "clipboard text to picture"          "text=$jan2"       UM_CLIPTEXT  1          0       0       "reads=$jan2"
# --- Clipboard owners that deliver nothing keep the code text -------------------
jan2_module=$("$cli" --profile "$work/none.ini" --data "$jan2" --module-text)
n2=${#jan2_module}
# An owner that serves one delivery, which another reader takes first.
printf 'WORLD' | xclip -selection clipboard -quiet -loops 1 >/dev/null 2>&1 &
for _ in $(seq 50); do [[ $(clipboard_text) == WORLD ]] && break; sleep 0.1; done
step "owner gone after one delivery"      -                  UM_CLIPTEXT  0          0       "$n2"   "text=$jan2_module"
step "its code text still saved"          -                  UM_OUTPUT    1          0       0       "file=$jan2"
# An owner that keeps the clipboard and never answers (stopped, as a client
# blocked in its own call to us would be): the read gives up after a second.
printf 'HELD' | xclip -selection clipboard -quiet >/dev/null 2>&1 &
holder=$!
pids+=("$holder")
for _ in $(seq 50); do [[ $(clipboard_text) == HELD ]] && break; sleep 0.1; done
kill -STOP "$holder"
started=$(date +%s%N)
step "owner that never answers"           -                  UM_CLIPTEXT  0          0       "$n2"   "text=$jan2_module"
waited=$((($(date +%s%N) - started) / 1000000))
((waited < 4000)) || fail "a stopped clipboard owner held the call for $waited ms"
kill -CONT "$holder" 2>/dev/null || true
kill "$holder" 2>/dev/null || true
step "clipboard selector 2"               -                  UM_CLIPTEXT  2          0       -1
step "clipboard selector all ones"        -                  UM_CLIPTEXT  0xFFFFFFFF 0       -1
step "output selector 2"                  -                  UM_OUTPUT    2          0       -1      no-file

# --- The code text as a number, and the symbology index -------------------------
step "number -7"                          -                  UM_SETVALUE  10         -7      -1
# Not encoded yet: the file still shows the sequence of the last encoding.
step "file before encoding"               -                  UM_OUTPUT    1          0       0       "file=$jan2"
step "JAN-13 refuses -7"                  "text=$sentinel"   UM_OUTPUT    0          0       -1      "text=$sentinel"
# Code 128 gets its check character only with AutoAdd on; without it no
# reader accepts the symbol.
step "auto-add on"                        -                  UM_SETOPTION 3          1       0
step "Code 128 by number"                 -                  UM_SETTYPE   11         0       0
step "Code 128 of -7"                     -                  UM_OUTPUT    0          0       0       "reads=-7"
step "type 12"                            -                  UM_SETTYPE   12         0       -1
step "type all ones"                      -                  UM_SETTYPE   0xFFFFFFFF 0       -1
step "type -1 signed"                     -                  UM_SETTYPE   -1         0       -1
step "number 42"                          -                  UM_SETVALUE  10         42      -1
step "still Code 128"                     -                  UM_OUTPUT    0          0       0       "reads=42"

# --- Code 39: framing, ratio, picture size and margins --------------------------
# The bars are measured on row 50, inside the bars at the default 25-pixel
# margins and 150-pixel height (bars end 21 pixels above the bottom margin).
step "Code 39 as 0x466"                   -                  0x466        5          0       0
step "auto-add off"                       -                  UM_SETOPTION 3          0       0
step "check off"                          -                  UM_SETOPTION 0          0       0
step "narrow 2 pixels"                    -                  UM_SETVALUE  2          2       0
step "number 123 in Code 39"              -                  1128         10         123     -1
step "Code 39 at 1:2"                     -                  UM_OUTPUT    0          0       0       reads=123 "widths=50:2 4"
step "ratio choice 1 is 1:3"              -                  UM_SETOPTION 2          1       0
step "Code 39 at 1:3"                     -                  UM_OUTPUT    0          0       0       reads=123 "widths=50:2 6"
step "ratio choice 3 changes nothing"     -                  UM_SETOPTION 2          3       0
step "Code 39 still 1:3"                  -                  UM_OUTPUT    0          0       0       "widths=50:2 6"
step "ratio choice 0 is 1:2"              -                  UM_SETOPTION 2          0       0
step "size 400 x 150"                     -                  UM_SETVALUE  0          "--low 400 --high 150" 0
step "picture 400 x 150"                  -                  UM_OUTPUT    0          0       0       size=400x150 reads=123
step "height 0x8000 refused"              -                  UM_SETVALUE  0          0x80000064 0
step "height -1 refused"                  -                  UM_SETVALUE  0          0xFFFF0064 0
step "width 0x8000 refused"               -                  UM_SETVALUE  0          0x00648000 0
step "width 0 refused"                    -                  UM_SETVALUE  0          0x00640000 0
step "still 400 x 150"                    -                  UM_OUTPUT    0          0       0       size=400x150 "pixel=0,0:light"
step "margins 0"                          -                  UM_SETVALUE  1          0       0
step "first bar in the corner"            -                  UM_OUTPUT    0          0       0       "pixel=0,0:dark" reads=123
step "negative margin refused"            -                  UM_SETVALUE  1          0xFFFF0005 0
step "margins still 0"                    -                  UM_OUTPUT    0          0       0       "pixel=0,0:dark"
step "margins 25"                         -                  UM_SETVALUE  1          "--low 25 --high 25" 0
step "corner blank again"                 -                  UM_OUTPUT    0          0       0       "pixel=0,0:light" reads=123
step "text height 9"                      -                  UM_SETVALUE  4          9       -1
step "text height 201"                    -                  UM_SETVALUE  4          201     -1
step "text height -1"                     -                  UM_SETVALUE  4          -1      -1
step "text height 10"                     -                  UM_SETVALUE  4          10      0
step "text height 200"                    -                  UM_SETVALUE  4          200     0
step "text height 16"                     -                  UM_SETVALUE  4          16      0
step "value selector 5"                   -                  UM_SETVALUE  5          1       -1
step "value selector 9"                   -                  UM_SETVALUE  9          1       -1
step "value selector 11"                  -                  UM_SETVALUE  11         1       -1
step "value selector all ones"            -                  UM_SETVALUE  0xFFFFFFFF 1       -1
step "option selector 5"                  -                  UM_SETOPTION 5          1       -1
step "option selector all ones"           -                  UM_SETOPTION 0xFFFFFFFF 1       -1
step "narrow 0 refused"                   -                  UM_SETVALUE  2          0       0
step "narrow -2 refused"                  -                  UM_SETVALUE  2          -2      0
step "Code 39 after refusals"             -                  UM_OUTPUT    0          0       0       reads=123 "widths=50:2 4"

# --- Codabar start and stop characters -----------------------------------------
# zbar reports the start and stop characters, ZXing drops them. The ratio
# 2:5 (choice 2) because zbar cannot read Codabar at 1:2.
step "Codabar"                            -                  UM_SETTYPE   4          0       0
step "ratio choice 2 is 2:5"              -                  UM_SETOPTION 2          2       0
step "start B stop D"                     -                  UM_SETVALUE  3          0x00440042 0
step "number 123 in Codabar"              -                  UM_SETVALUE  10         123     -1
step "B123D"                              -                  UM_OUTPUT    0          0       0       reads=B123D/123
step "stop the digit 0 becomes A"         -                  UM_SETVALUE  3          0x00300042 0
step "number 123 again"                   -                  UM_SETVALUE  10         123     -1
step "B123A"                              -                  UM_OUTPUT    0          0       0       reads=B123A/123
step "start and stop 0 keep them"         -                  UM_SETVALUE  3          0       0
step "number 45"                          -                  UM_SETVALUE  10         45      -1
step "B45A"                               -                  UM_OUTPUT    0          0       0       reads=B45A/45
step "bits 8-15 and 24-31 ignored"        -                  UM_SETVALUE  3          0x7F427F41 0
step "number 123 once more"               -                  UM_SETVALUE  10         123     -1
step "A123B"                              -                  UM_OUTPUT    0          0       0       reads=A123B/123

# --- Message numbers that are not the five ------------------------------------
step "message 0x464"                      -                  0x464        0          0       refused
step "message 0x46A"                      -                  0x46A        0          0       refused
step "message 0"                          -                  0            0          0       refused
step "message all ones"                   -                  0xFFFFFFFF   0          0       refused
step "still answering"                    -                  UM_SETTYPE   0          0       0
step "kestrel-send: unknown name"         -                  UM_BOGUS     0          0       refused
step "kestrel-send: wParam too wide"      -                  UM_SETTYPE   0x100000000 0      refused
step "kestrel-send: not a number"         -                  UM_SETTYPE   zero       0       refused
step "JAN-13 after the refusals"          "text=$jan"        UM_CLIPTEXT  0          0       "$n"    "text=$jan_module"

# The D-Bus error other clients see for a number that is not one of the five.
error=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 0x46a 0 0 2>&1 || true)
[[ $error == *org.plover.Kestrel.Error.UnknownMessage* ]] \
  || fail "unknown message over D-Bus: expected org.plover.Kestrel.Error.UnknownMessage, got: $error"
reply=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 0x466 12 0 2>&1 || true)
[[ $reply == "(-1,)" ]] || fail "UM_SETTYPE 12 over D-Bus: expected (-1,), got: $reply"

# --- Which program answers: properties -----------------------------------------
props=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.freedesktop.DBus.Properties.GetAll org.plover.Kestrel.Automation 2>&1 || true)
[[ $props == *"'ProcessId': <uint32 $pid1>"* && $props == *"'ProgramPath': <'$work/app/kestrel'>"* ]] \
  || fail "Properties.GetAll: expected the first instance's process and path, got: $props"

# --- A second instance ----------------------------------------------------------
# It runs from another folder: Main/Path must keep naming the first, which
# owns the name, until the name passes to it.
main_path() { sed -n 's/^Path=//p' "$XDG_CONFIG_HOME/Plover/Kestrel.ini"; }
[[ $(main_path) == "$work/app/kestrel" ]] || fail "Main/Path is '$(main_path)', expected the first instance"
mkdir -p "$work/app2"
cp "$kestrel" "$work/app2/kestrel"
"$work/app2/kestrel" &
pid2=$!
pids+=("$pid2")
sleep 2
[[ $(automation_owner_pid) == "$pid1" ]] || fail "second instance: the name left the first (owner now '$(automation_owner_pid)')"
[[ $(main_path) == "$work/app/kestrel" ]] || fail "the queued second instance wrote Main/Path '$(main_path)'"
step "first answers beside a second"      "text=$jan2"       UM_CLIPTEXT  1          0       0       "reads=$jan2"
step "first keeps its state"              -                  UM_SETTYPE   0          0       0

# Closes instance $1 through its File menu, as a user quits.
close_through_menu() {
  local window
  window=$(xdotool search --pid "$1" --onlyvisible --name '^Kestrel$' 2>/dev/null | head -n 1 || true)
  if [[ -n $window ]]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.3
    xdotool key alt+f
    sleep 0.3
    xdotool key x
  fi
}

# The first closes through its File menu; its name must pass to the second.
close_through_menu "$pid1"
for _ in $(seq 50); do kill -0 "$pid1" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$pid1" 2>/dev/null; then
  fail "the first instance did not close through its File menu"
  kill "$pid1"
fi
wait "$pid1" 2>/dev/null || true
if ! kill -0 "$pid2" 2>/dev/null; then
  fail "the second instance is gone (it exited $(wait "$pid2" 2>/dev/null; echo $?))"
elif automation_wait_for_owner "$pid2" 10; then
  step "second answers once the first closed" "text=$jan"    UM_CLIPTEXT  0          0       "$n"    "text=$jan_module"
  [[ $(main_path) == "$work/app2/kestrel" ]] || fail "Main/Path after the hand-over is '$(main_path)'"
  [[ $(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
        -m org.freedesktop.DBus.Properties.Get org.plover.Kestrel.Automation ProcessId) \
     == "(<uint32 $pid2>,)" ]] || fail "ProcessId after the hand-over is not the second's"
  bmp="$work/app2/BarCode.bmp"
  step "second saves beside itself"         -                  UM_OUTPUT    1          0       0       "file=$jan"
else
  fail "the name did not pass to the second instance (owner '$(automation_owner_pid)')"
fi
# Calls while the second quits: each is answered, the quitting error or (once
# it is gone) that nobody answers, never a call left without an answer.
(
  gone=0
  for _ in $(seq 1500); do
    answer=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
      -m org.plover.Kestrel.Automation.SendMessage -- 0x466 0 0 2>&1 | head -c 300 || true)
    echo "$answer"
    [[ $answer == *ServiceUnknown* ]] && gone=$((gone + 1))
    ((gone < 3)) || break
  done
) >"$work/quit-calls.txt" &
calls=$!
sleep 0.3
close_through_menu "$pid2"
for _ in $(seq 50); do kill -0 "$pid2" 2>/dev/null || break; sleep 0.2; done
kill "$pid2" 2>/dev/null || true
wait "$pid2" 2>/dev/null || true
wait "$calls" 2>/dev/null || true
echo "calls while quitting:" $(sed 's/: .*//' "$work/quit-calls.txt" | sort | uniq -c | tr -s ' ')
odd=$(grep -v -e '^(0,)$' -e 'org.plover.Kestrel.Error.Quitting' -e 'ServiceUnknown' -e '^$' \
  "$work/quit-calls.txt" || true)
[[ -z $odd ]] || fail "calls while quitting got: $(sort "$work/quit-calls.txt" | uniq -c | head -5)"

# Nobody to answer: kestrel-send says why instead of printing a result.
for _ in $(seq 50); do [[ -z $(automation_owner_pid) ]] && break; sleep 0.1; done
step "nobody answering"                   -                  UM_SETTYPE   0          0       refused

echo "automation: $step_number messages, $failures failures"
exit $((failures > 0))
