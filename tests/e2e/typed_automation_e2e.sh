#!/usr/bin/env bash
# Another program driving kestrel through the typed interface
# org.plover.Kestrel1, with the program started by the session bus itself:
# XDG_DATA_DIRS holds the build's share folder, whose dbus-1/services file
# names the built kestrel, and nothing starts the program but a call.
# First the activation rows (the numeric SendMessage and the typed interface
# each start it and are answered by the one instance), then one table row
# per typed call: its answer or its error's name, and what it made, pictures
# read back with zbar and ZXing, module texts compared with kestrel-cli's;
# then the properties: Get, Set and GetAll of each, refusals, the
# PropertiesChanged a watcher sees, and their order with a call still running.
# Pictures stay in the artefact folder.
# Usage: typed_automation_e2e.sh BUILD_SHARE_FOLDER KESTREL_CLI ARTEFACT_FOLDER
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# The bus reads its service folders when it starts, so the build's share
# folder must be in place before the session is entered.
if [[ -z ${KESTREL_AUTOMATION_SESSION:-} ]]; then
  export XDG_DATA_DIRS="$1:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}"
fi
# shellcheck source=automation_session.sh
source "$here/automation_session.sh"
automation_session_enter "$0" "$@"

share=$1
cli=$2
artefacts=$3
mkdir -p "$artefacts"
rm -f "$artefacts"/typed-[0-9]*

work=$(mktemp -d)
cleanup() {
  local pid
  pid=$(automation_owner_pid)
  [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
private_environment "$work"
source "$here/read_back.sh"

service_file=$share/dbus-1/services/org.plover.Kestrel.service
[[ -f $service_file ]] || { echo "FAIL: no $service_file" >&2; exit 1; }
program=$(sed -n 's/^Exec=//p' "$service_file")
# The bus starts programs with its own environment, which has neither the
# X server nor this run's private profile.
dbus-update-activation-environment DISPLAY XAUTHORITY QT_QPA_PLATFORM XDG_CONFIG_HOME \
  XDG_RUNTIME_DIR

path=/org/plover/Kestrel
iface=org.plover.Kestrel1

# gdbus prints the answer as GVariant text, or "Error: GDBus.Error:NAME: ...".
# METHOD is a typed method, Properties.Get/Set/GetAll on the typed object, or
# the numeric SendMessage.
typed_call() {  # METHOD ARGS...
  local method=$1 object=$path
  shift
  case $method in
    Properties.*) method=org.freedesktop.DBus.$method ;;
    SendMessage) method=org.plover.Kestrel.Automation.$method object=/Kestrel ;;
    *) method=$iface.$method ;;
  esac
  timeout 30 gdbus call --session -d "$automation_bus_name" -o "$object" -m "$method" \
    -- "$@" 2>&1 || true
}

# --- Activation ----------------------------------------------------------------

# The process that owns the name must be the program the service file names.
expect_activated() {  # WHAT
  local owner
  owner=$(automation_owner_pid)
  if [[ -z $owner ]]; then
    fail "$1: nobody owns $automation_bus_name"
  elif [[ $(readlink "/proc/$owner/exe") != "$(readlink -f "$program")" ]]; then
    fail "$1: $automation_bus_name is owned by $(readlink "/proc/$owner/exe"), not $program"
  fi
}

stop_owner() {
  local owner
  owner=$(automation_owner_pid)
  [[ -n $owner ]] || return 0
  kill "$owner"
  for _ in $(seq 50); do [[ -z $(automation_owner_pid) ]] && return 0; sleep 0.1; done
  fail "the activated kestrel did not let go of the name"
}

[[ -z $(automation_owner_pid) ]] || fail "someone owns $automation_bus_name before any call"
got=$(timeout 60 gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 1126 5 0 2>&1 || true)
[[ $got == "(0,)" ]] || fail "SendMessage UM_SETTYPE 5 starting kestrel: $got"
expect_activated "started by SendMessage"
first=$(automation_owner_pid)
got=$(typed_call SetText "'TYPED'")
[[ $got == "()" ]] || fail "typed SetText on the instance SendMessage started: $got"
[[ $(automation_owner_pid) == "$first" ]] || fail "the typed call reached another instance"
stop_owner

got=$(timeout 60 gdbus call --session -d "$automation_bus_name" -o "$path" \
  -m "$iface.SetSymbology" -- "'code128'" 2>&1 || true)
[[ $got == "()" ]] || fail "typed SetSymbology starting kestrel: $got"
expect_activated "started by the typed interface"
got=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 1126 12 0 2>&1 || true)
[[ $got == "(-1,)" ]] || fail "SendMessage on the instance the typed call started: $got"

# The interface the program exports is the one installed for clients: the
# same methods with the same argument types, in the same directions, and the
# same properties with the same types and access.
signatures() {  # XML on stdin -> a "Method in:TYPES out:TYPES" line per method, "Name TYPE ACCESS" per property
  python3 -c '
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.stdin).getroot()
for iface in root.iter("interface"):
    if iface.get("name") != "org.plover.Kestrel1":
        continue
    for method in iface.iter("method"):
        args = {"in": "", "out": ""}
        for arg in method.iter("arg"):
            args[arg.get("direction", "in")] += arg.get("type")
        print(method.get("name"), "in:" + args["in"], "out:" + args["out"])
    for prop in iface.iter("property"):
        print(prop.get("name"), prop.get("type"), prop.get("access"))
' | sort
}
installed=$(signatures <"$here/../../packaging/dbus/org.plover.Kestrel1.xml")
exported=$(gdbus introspect --session -d "$automation_bus_name" -o "$path" --xml | signatures)
[[ -n $installed && $installed == "$exported" ]] \
  || fail "exported interface differs from the installed XML:$(diff <(echo "$installed") <(echo "$exported"))"
[[ $installed == *" readwrite"* ]] || fail "no writable property in the installed XML"
# Every method and property of the installed description says what it does.
undocumented=$(python3 -c '
import sys, xml.etree.ElementTree as tree
doc = "org.freedesktop.DBus.DocString"
root = tree.parse(sys.argv[1]).getroot()
for member in list(root.iter("method")) + list(root.iter("property")):
    if not any(a.get("name") == doc for a in member.findall("annotation")):
        print(member.get("name"))
' "$here/../../packaging/dbus/org.plover.Kestrel1.xml")
[[ -z $undocumented ]] || fail "members without a DocString: $undocumented"

# --- The typed calls -------------------------------------------------------------

step_number=0
last_answer=
# The PropertiesChanged lines a watcher (gdbus monitor) printed since the
# current step began.
watched=$work/watched.txt
watch_mark=0
announcements() {
  [[ -f $watched ]] && tail -n +"$((watch_mark + 1))" "$watched" | grep PropertiesChanged || true
}

# The effect column: what must hold after the call.
#   -                       nothing more
#   modules=CLI-ARGS        ModuleText answers what kestrel-cli prints for these arguments
#   render=FMT:Z[/X]        Render FMT gives a picture that zbar reads as Z and ZXing as X
#   file=PATH:Z[/X]         the file at PATH reads Z / X
#   no-file=PATH            nothing at PATH
#   get=NAME:VALUE          the property NAME reads VALUE (GVariant text)
#   has=TEXT                the call's answer holds TEXT
#   announced=TEXT          a PropertiesChanged the watcher saw during the call holds TEXT
#   silent                  the watcher saw no PropertiesChanged during the call
check_effect() {
  local label=$1 effect=$2
  local key=${effect%%=*} value=${effect#*=}
  case $key in
    -) ;;
    modules)
      local expected got
      read -ra cli_args <<<"$value"
      expected=$("$cli" --profile "$work/none.ini" "${cli_args[@]}" --module-text)
      got=$(typed_call ModuleText)
      [[ $got == "('$expected',)" ]] || fail "$label: ModuleText $got, kestrel-cli $expected" ;;
    render)
      local format=${value%%:*} picture="$artefacts/$label.${value%%:*}"
      busctl --user --json=short call "$automation_bus_name" "$path" "$iface" Render s "$format" \
        | python3 -c 'import json, sys; sys.stdout.buffer.write(bytes(json.load(sys.stdin)["data"][0]))' \
          >"$picture" || true
      expect_picture "$label" "$picture" "${value#*:}" ;;
    file)
      local file=${value%%:*}
      if [[ -s $file ]]; then
        cp "$file" "$artefacts/$label-$(basename "$file")"
        expect_picture "$label" "$file" "${value#*:}"
      else
        fail "$label: nothing written to $file"
      fi ;;
    no-file) [[ ! -e $value ]] || fail "$label: $value was written" ;;
    get)
      local got
      got=$(typed_call Properties.Get "'$iface'" "'${value%%:*}'")
      [[ $got == "(${value#*:},)" ]] || fail "$label: ${value%%:*} reads $got, expected ${value#*:}" ;;
    has) [[ $last_answer == *"$value"* ]] || fail "$label: the answer $last_answer lacks $value" ;;
    announced)
      # Sent before the answer; the watcher may take a moment to print it.
      local _
      for _ in $(seq 20); do
        announcements | grep -qF -- "$value" && break
        sleep 0.1
      done
      announcements | grep -qF -- "$value" \
        || fail "$label: no PropertiesChanged with $value; saw: $(announcements)" ;;
    silent)
      sleep 0.3
      [[ -z $(announcements) ]] || fail "$label: announced $(announcements)" ;;
    *) fail "$label: unknown effect '$effect' in the table" ;;
  esac
}

# Reads a picture of any format back: SVG and PDF through their rasterisers.
expect_picture() {  # LABEL FILE Z[/X]
  local label=$1 file=$2 raster=$2
  case $file in
    *.svg) raster=$work/raster.png; rsvg-convert -o "$raster" "$file" || fail "$label: not an SVG" ;;
    *.pdf) pdftoppm -r 144 -singlefile -png "$file" "$work/raster" || fail "$label: not a PDF"
           raster=$work/raster.png ;;
  esac
  expect_reads "$label" "$raster" "$3"
}

# step WHAT METHOD ARGS ANSWER [EFFECT...]
#   ARGS: the call's arguments as GVariant text, several separated by " ; "
#   ANSWER: gdbus's output, - for any answer that is not an error, or !NAME
#           for the error org.plover.Kestrel1.Error.NAME
step() {
  local what=$1 method=$2 arguments=$3 expected=$4
  shift 4
  step_number=$((step_number + 1))
  local label
  label=$(printf 'typed-%02d-%s' "$step_number" "$(tr -c 'A-Za-z0-9\n' '-' <<<"$what" | tr -s '-')")
  label=${label%-}
  local args=() got
  [[ -n $arguments ]] && mapfile -t args < <(sed 's/ ; /\n/g' <<<"$arguments")
  [[ -f $watched ]] && watch_mark=$(wc -l <"$watched")
  got=$(typed_call "$method" "${args[@]}")
  last_answer=$got
  if [[ $expected == !*.* ]]; then
    [[ $got == *"GDBus.Error:${expected#!}:"* ]] \
      || fail "$label: $method $arguments gave '$got', expected the error ${expected#!}"
  elif [[ $expected == !* ]]; then
    [[ $got == *"GDBus.Error:$iface.Error.${expected#!}:"* ]] \
      || fail "$label: $method $arguments gave '$got', expected the error ${expected#!}"
  elif [[ $expected == - ]]; then
    [[ $got != *GDBus.Error* && $got != Error* ]] || fail "$label: $method $arguments gave '$got'"
  elif [[ $got != "$expected" ]]; then
    fail "$label: $method $arguments gave '$got', expected '$expected'"
  fi
  local effect
  for effect in "$@"; do check_effect "$label" "$effect"; done
}

jan=4901234567894
# 129 digits: one byte over the code box's limit. "あ" is two bytes in code
# page 932, so 64 of them fit and 65 do not.
long=$(printf '1%.0s' $(seq 129))
kana64=$(printf 'あ%.0s' $(seq 64))
mkdir "$work/out"

#    what                              method             arguments                     answer
# --- Before any text ------------------------------------------------------------
step "module text of nothing"          ModuleText         ""                            "!NoText"
step "render nothing"                  Render             "'png'"                       "!NoText"
step "accept nothing"                  Accept             ""                            "!NoText"

# --- Symbology ---------------------------------------------------------------------
step "symbology by key"                SetSymbology       "'jan13'"                     "()"
step "symbology key in capitals"       SetSymbology       "'JAN13'"                     "()"
step "symbology by list name"          SetSymbology       "'Code 128 (Only Code B)'"    "()"
step "unknown symbology"               SetSymbology       "'qr'"                        "!UnknownSymbology"
step "empty symbology"                 SetSymbology       "''"                          "!UnknownSymbology"
step "symbology index 11"              SetSymbologyIndex  "uint32 11"                   "()"
step "symbology index 12"              SetSymbologyIndex  "uint32 12"                   "!UnknownSymbology"
step "symbology index all ones"        SetSymbologyIndex  "uint32 4294967295"           "!UnknownSymbology"
# Choosing Code 128 ticks auto add, as the dialog's list does: without its
# check character no reader accepts the symbol.
step "auto add off"                    SetOptions         "{'autoAdd': <false>}"        "()"
step "Code 128 ticks auto add"         SetSymbology       "'code128'"                   "()"
step "Code 128 text"                   SetText            "'Kestrel-1'"                 "()"
step "Code 128 accepted"               Accept             ""                            "('Kestrel-1',)" \
  "render=png:Kestrel-1" "modules=--type code128 --auto-add 1 --data Kestrel-1"

# --- Text ------------------------------------------------------------------------
step "JAN-13 again"                    SetSymbology       "'jan13'"                     "()"
step "auto add off for JAN-13"        SetOptions         "{'autoAdd': <false>}"        "()"
step "text without its check digit"    SetText            "'490123456789'"              "()"
step "JAN-13 refused without auto add" Accept             ""                            "!Refused"
step "auto add"                        SetOptions         "{'autoAdd': <true>}"         "()"
step "JAN-13 completed"                Accept             ""                            "('$jan',)" \
  "modules=--type jan13 --data $jan" "render=png:$jan" "render=bmp:$jan"
step "wrong check digit"               SetText            "'4901234567890'"             "()"
step "auto add off keeps it"           SetOptions         "{'autoAdd': <false>, 'check': <true>}" "()"
step "wrong check digit refused"       Accept             ""                            "!Refused"
step "text over 128 bytes"             SetText            "'$long'"                     "!TextTooLong"
step "64 two-byte characters fit"      SetText            "'$kana64'"                   "()"
step "65 do not"                       SetText            "'${kana64}あ'"               "!TextTooLong"
step "no code page 932 character"      SetText            "'caf\u00e9 \u20ac'"          "!InvalidText"
step "emoji"                           SetText            "'\U0001F600'"                "!InvalidText"

# --- Code 39 with geometry and options --------------------------------------------
step "Code 39"                         SetSymbology       "'code39'"                    "()"
step "check off"                       SetOptions         "{'check': <false>, 'autoAdd': <false>}" "()"
step "text KESTREL"                    SetText            "'KESTREL'"                   "()"
step "Code 39 framed"                  Accept             ""                            "('*KESTREL*',)" \
  "modules=--type code39 --check 0 --data KESTREL" "render=svg:KESTREL" "render=pdf:KESTREL"
step "geometry"                        SetGeometry        "{'width': <400>, 'height': <uint32 120>, 'narrowWidth': <int16 2>}" "()" \
  "modules=--type code39 --check 0 --narrow 2 --data KESTREL"
step "ratio 1:3"                       SetOptions         "{'ratio': <'1:3'>}"          "()" \
  "modules=--type code39 --check 0 --narrow 2 --aspect 2 --data KESTREL" "render=png:KESTREL"
step "unknown ratio"                   SetOptions         "{'ratio': <'1:4'>}"          "!InvalidValue"
step "ratio as a number"               SetOptions         "{'ratio': <2>}"              "!InvalidValue"
step "check as a number"               SetOptions         "{'check': <1>}"              "!InvalidValue"
step "unknown option"                  SetOptions         "{'colour': <true>}"          "!InvalidValue"
step "narrow 0"                        SetGeometry        "{'narrowWidth': <0>}"        "!InvalidValue"
step "height as text"                  SetGeometry        "{'height': <'120'>}"         "!InvalidValue"
step "unknown geometry name"           SetGeometry        "{'depth': <3>}"              "!InvalidValue"
# One bad value refuses the whole call: the narrow width stays 2.
step "good and bad together"           SetGeometry        "{'narrowWidth': <3>, 'width': <-5>}" "!InvalidValue" \
  "modules=--type code39 --check 0 --narrow 2 --aspect 2 --data KESTREL"

# --- Codabar ------------------------------------------------------------------------
# zbar reports the start and stop characters, ZXing drops them; the options
# sheet's A frames a text that has none.
step "Codabar"                         SetSymbology       "'codabar'"                   "()"
step "ratio 2:5"                       SetOptions         "{'ratio': <'2:5'>}"          "()"
step "digits only"                     SetText            "'123'"                       "()"
step "Codabar framed with A"           Accept             ""                            "('A123A',)" \
  "render=png:A123A/123"
step "own start and stop"              SetText            "'b123d'"                     "()"
step "Codabar keeps them"              Accept             ""                            "('b123d',)" \
  "render=png:B123D/123"
step "start and stop are not options"  SetOptions         "{'codabarStart': <'B'>}"     "!InvalidValue"

# --- Formats and files -----------------------------------------------------------
step "unknown format"                  Render             "'gif'"                       "!UnknownFormat"
step "format in capitals"              Render             "'PNG'"                       - "render=png:B123D/123"
step "save PNG by suffix"              Save               "'$work/out/a.png' ; ''"      "()" \
  "file=$work/out/a.png:B123D/123"
step "save BMP named"                  Save               "'$work/out/b.picture' ; 'bmp'" "()" \
  "file=$work/out/b.picture:B123D/123"
step "save PDF by suffix"              Save               "'$work/out/c.pdf' ; ''"      "()" \
  "file=$work/out/c.pdf:B123D/123"
step "no suffix, no format"            Save               "'$work/out/d' ; ''"          "!UnknownFormat" \
  "no-file=$work/out/d"
step "relative path"                   Save               "'e.png' ; ''"                "!InvalidValue"
step "missing folder"                  Save               "'$work/none/f.png' ; ''"     "!NotWritten" \
  "no-file=$work/none/f.png"
chmod 0555 "$work/out"
if [[ $(id -u) != 0 ]]; then
  step "folder not writable"           Save               "'$work/out/g.png' ; ''"      "!NotWritten" \
    "no-file=$work/out/g.png"
fi
chmod 0755 "$work/out"

# A text the rules refuse never reaches the document: what was drawn before
# is still drawn, but not while the refused text waits for Accept.
step "JAN-8"                           SetSymbology       "'jan8'"                      "()"
step "letters for JAN-8"               SetText            "'ABC'"                       "()"
step "render before accepting"         Render             "'png'"                       "!NotAccepted"
step "JAN-8 refuses letters"           Accept             ""                            "!Refused"
step "render while refused"            Render             "'png'"                       "!NotAccepted"
step "save while refused"              Save               "'$work/out/a.png' ; ''"      "!NotAccepted" \
  "file=$work/out/a.png:B123D/123"
step "module text while refused"       ModuleText         ""                            "!NotAccepted"
step "JAN-8 digits"                    SetText            "'96385074'"                  "()"
step "JAN-8 accepted"                  Accept             ""                            "('96385074',)" \
  "modules=--type jan8 --data 96385074" "render=png:96385074"
# The document's text that the symbology no longer takes: the encoder refuses.
step "JAN-13 with 8 digits"            SetSymbology       "'jan13'"                     "()"
step "render refused by the encoder"   Render             "'png'"                       "!Refused"
step "save refused by the encoder"     Save               "'$work/out/a.png' ; ''"      "!Refused" \
  "file=$work/out/a.png:B123D/123"

# The numeric messages work on the same document: UM_SETVALUE 10 sets the
# text the typed interface then draws.
got=$(gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 1126 11 0 2>&1 || true)
[[ $got == "(0,)" ]] || fail "UM_SETTYPE 11 beside the typed calls: $got"
gdbus call --session -d "$automation_bus_name" -o /Kestrel \
  -m org.plover.Kestrel.Automation.SendMessage -- 1128 10 4711 >/dev/null 2>&1 || true
step "auto add for Code 128"           SetOptions         "{'autoAdd': <true>}"         "()"
step "text from a numeric message"     Render             "'png'"                       - "render=png:4711"
step "its module text"                 ModuleText         ""                            - \
  "modules=--type code128 --auto-add 1 --data 4711"

# --- Properties ------------------------------------------------------------------
# A watcher on the typed object, as a client following the settings would
# have. gdbus monitor prints each signal as GVariant text.
gdbus monitor --session -d "$automation_bus_name" -o "$path" >"$watched" 2>&1 &
watcher=$!
for _ in $(seq 50); do grep -q 'is owned by' "$watched" && break; sleep 0.1; done

set_prop() { echo "'$iface' ; '$1' ; <$2>"; }
#    what                              method             arguments                     answer
step "all at once"                     Properties.GetAll  "'$iface'"                    - \
  "has='Symbology': <'code128'>" "has='SymbologyIndex': <uint32 11>" "has='CodeText': <'4711'>" \
  "has='AutoAdd': <true>" "has='Width': <400>" "has='Ratio': <'2:5'>"
step "the symbology by key"            Properties.Get     "'$iface' ; 'Symbology'"      "(<'code128'>,)"
step "set it by list name"             Properties.Set     "$(set_prop Symbology "'codabar (nw-7)'")" "()" \
  "announced='Symbology': <'codabar'>" "announced='SymbologyIndex': <uint32 4>" \
  "get=SymbologyIndex:<uint32 4>"
step "unknown symbology"               Properties.Set     "$(set_prop Symbology "'qr'")" "!UnknownSymbology" \
  silent "get=Symbology:<'codabar'>"
step "symbology as a number"           Properties.Set     "$(set_prop Symbology 4)"     "!InvalidValue" silent
step "by index"                        Properties.Set     "$(set_prop SymbologyIndex 'uint32 5')" "()" \
  "announced='Symbology': <'code39'>" "get=Symbology:<'code39'>"
step "index 12"                        Properties.Set     "$(set_prop SymbologyIndex 'uint32 12')" "!UnknownSymbology" \
  silent "get=SymbologyIndex:<uint32 5>"
step "width"                           Properties.Set     "$(set_prop Width 640)"       "()" \
  "announced='Width': <640>" "get=Width:<640>"
step "width out of range"              Properties.Set     "$(set_prop Width 10000)"     "!InvalidValue" \
  silent "get=Width:<640>"
step "width as text"                   Properties.Set     "$(set_prop Width "'320'")"   "!InvalidValue" silent
step "height as int16"                 Properties.Set     "$(set_prop Height 'int16 140')" "()" "get=Height:<140>"
step "left margin"                     Properties.Set     "$(set_prop LeftMargin 30)"   "()" "get=LeftMargin:<30>"
step "top margin"                      Properties.Set     "$(set_prop TopMargin 20)"    "()" "get=TopMargin:<20>"
step "narrow width"                    Properties.Set     "$(set_prop NarrowWidth 2)"   "()" "get=NarrowWidth:<2>"
step "text height"                     Properties.Set     "$(set_prop TextHeight 18)"   "()" "get=TextHeight:<18>"
# The dialog's clicks: the check off clears auto add, auto add on ticks it.
step "check off"                       Properties.Set     "$(set_prop Check false)"     "()" \
  "announced='AutoAdd': <false>" "get=AutoAdd:<false>"
step "check as a number"               Properties.Set     "$(set_prop Check 1)"         "!InvalidValue" silent
step "auto add on"                     Properties.Set     "$(set_prop AutoAdd true)"    "()" \
  "announced='Check': <true>" "get=Check:<true>"
step "auto add off"                    Properties.Set     "$(set_prop AutoAdd false)"   "()" "get=AutoAdd:<false>"
step "show text"                       Properties.Set     "$(set_prop ShowText false)"  "()" "get=ShowText:<false>"
step "bearer bars"                     Properties.Set     "$(set_prop BearerBars true)" "()" "get=BearerBars:<true>"
step "ratio"                           Properties.Set     "$(set_prop Ratio "'2:5'")"   "()" "get=Ratio:<'2:5'>"
step "unknown ratio"                   Properties.Set     "$(set_prop Ratio "'1:5'")"   "!InvalidValue" \
  silent "get=Ratio:<'2:5'>"
step "code text is read only"          Properties.Set     "$(set_prop CodeText "'KESTREL'")" \
  "!org.freedesktop.DBus.Error.PropertyReadOnly" silent "get=CodeText:<'4711'>"
step "unknown property"                Properties.Get     "'$iface' ; 'Colour'" "!org.freedesktop.DBus.Error.UnknownProperty"
step "the method's key is no property" Properties.Set     "$(set_prop width 300)" "!org.freedesktop.DBus.Error.UnknownProperty"
step "another interface"               Properties.Get     "'org.example.None' ; 'Width'" \
  "!org.freedesktop.DBus.Error.UnknownInterface"
# The text changes through SetText and Accept, which announce it; the picture
# is drawn with the settings the properties gave.
step "check off for Code 39"           Properties.Set     "$(set_prop Check false)"     "()" "get=Check:<false>"
step "text for the properties"         SetText            "'PROPS'"                     "()" silent
step "Accept announces the text"       Accept             ""                            "('*PROPS*',)" \
  "announced='CodeText': <'*PROPS*'>" "modules=--type code39 --check 0 --narrow 2 --aspect 1 --data PROPS" \
  "render=png:PROPS"
step "a setter method announces"       SetGeometry        "{'width': <660>}"            "()" "announced='Width': <660>"
step "so does a numeric message"       SendMessage        "1126 ; 11 ; 0"               "(0,)" \
  "announced='Symbology': <'code128'>" "get=SymbologyIndex:<uint32 11>"
step "a refused numeric message"       SendMessage        "1126 ; 12 ; 0"               "(-1,)" silent

# Order: a property call that arrives while a call runs (UM_CLIPTEXT waiting
# for a clipboard owner that does not answer) waits for it, and the change it
# makes is announced after that call's answer and before its own.
# -quiet keeps xclip in the foreground, so that $! is the owner.
printf 'stalled' | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
stalled=$!
for _ in $(seq 50); do
  [[ $(timeout 2 xclip -selection clipboard -o 2>/dev/null) == stalled ]] && break
  sleep 0.1
done
kill -STOP "$stalled" || fail "the stalled clipboard owner has gone"
order=$(/usr/bin/python3 - "$automation_bus_name" <<'PY'
import sys, time, dbus
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib
DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
# Without introspection: a proxy holds calls back until its own answer
# comes, which would let the typed calls overtake the numeric one.
typed = bus.get_object(sys.argv[1], "/org/plover/Kestrel", introspect=False)
numeric = bus.get_object(sys.argv[1], "/Kestrel", introspect=False)
props = dbus.PROPERTIES_IFACE
loop = GLib.MainLoop()
events, start = [], time.monotonic()
def record(label):
    def handler(*answer):
        events.append("%s=%s" % (label, answer[0] if answer else ""))
        if sum(1 for e in events if not e.startswith("changed")) == 3:
            loop.quit()
    return handler
bus.add_signal_receiver(lambda iface, changed, gone: events.append("changed=%s" % sorted(str(k) for k in changed)),
                        "PropertiesChanged", props, path="/org/plover/Kestrel")
numeric.SendMessage(dbus.UInt32(0x465), dbus.UInt32(0), dbus.Int32(0),
                    dbus_interface="org.plover.Kestrel.Automation",
                    reply_handler=lambda *_: record("clip")(
                        "waited" if time.monotonic() - start > 0.8 else "at once"),
                    error_handler=record("clip-error"))
typed.Set("org.plover.Kestrel1", "Width", dbus.Int32(222, variant_level=1), dbus_interface=props,
          reply_handler=record("set"), error_handler=record("set-error"))
typed.Get("org.plover.Kestrel1", "Width", dbus_interface=props,
          reply_handler=record("get"), error_handler=record("get-error"))
GLib.timeout_add(15000, loop.quit)
loop.run()
print(" ".join(events))
PY
)
kill -CONT "$stalled" 2>/dev/null; kill "$stalled" 2>/dev/null || true
[[ $order == "clip=waited changed=['Width'] set= get=222" ]] \
  || fail "a property call during a running call: $order (expected the clipboard call waiting its second, then the change, the Set and the Get)"

kill "$watcher" 2>/dev/null || true

expect_activated "after the table"
echo "typed automation: $step_number calls, $failures failures"
exit $((failures > 0))
