#!/usr/bin/env bash
# The shell and Python examples of the automation reference, run as they
# stand against the real kestrel on a private X server and session bus, so
# that the document cannot drift from the program. Shell commands run one
# after another in one shell (so names they set carry on); each must
# succeed, unless the line after it reads "# Error: ...", when it must fail
# with the error name shown there. A Python "print" with a comment after it
# must print what the comment says.
# Usage: doc_examples.sh DOCUMENT KESTREL KESTREL_SEND
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=automation_session.sh
source "$here/automation_session.sh"
automation_session_enter "$0" "$@"
source "$here/read_back.sh"

document=$1
kestrel=$2
send=$3

automation_private_run
work=$automation_work
mkdir -p "$work/bin"
ln -s "$send" "$work/bin/kestrel-send"
export PATH="$work/bin:$PATH"
python=/usr/bin/python3
[[ -x $python ]] || python=python3

automation_start_copy "$kestrel" "$work" "$work/kestrel.log" \
  || { echo "FAIL: kestrel did not take $automation_bus_name" >&2; exit 1; }

# Each fenced block as LANGUAGE, a newline, its lines, then a NUL.
awk '/^```/ { if (inside) { printf "%c", 0; inside = 0 } else { inside = 1; print substr($0, 4) }
              next }
     inside { print }' "$document" >"$work/blocks"

# Runs the shell block's commands one by one in this shell.
run_shell_block() {
  local -a lines=()
  mapfile -t lines <<<"$1"
  local i=0 command expected output status
  while ((i < ${#lines[@]})); do
    command=${lines[i]}
    i=$((i + 1))
    while [[ $command == *\\ && i -lt ${#lines[@]} ]]; do
      command=${command%\\}${lines[i]}
      i=$((i + 1))
    done
    [[ -z ${command// /} || $command == \#* ]] && continue
    expected=
    if ((i < ${#lines[@]})) && [[ ${lines[i]} == "# Error:"* ]]; then
      expected=$(grep -o 'org\.[A-Za-z0-9.]*Error\.[A-Za-z]*' <<<"${lines[i]}" | head -n 1)
    fi
    # Into a file, not a pipe: a command may leave a helper running (xclip
    # serving the clipboard), which would hold a pipe open.
    eval "$command" >"$work/output" 2>&1 </dev/null
    status=$?
    output=$(<"$work/output")
    if [[ -z $expected && $status != 0 ]]; then
      fail "'$command' exited $status: ${output:0:300}"
    elif [[ -n $expected && ( $status == 0 || $output != *"$expected"* ) ]]; then
      fail "'$command' should fail with $expected, gave (exit $status): ${output:0:300}"
    fi
    commands=$((commands + 1))
  done
}

# Runs the Python block and compares what each commented print printed.
run_python_block() {
  printf '%s\n' "$1" >"$work/example.py"
  local printed
  if ! printed=$(cd "$work" && "$python" example.py 2>&1); then
    fail "the Python example failed: ${printed:0:500}"
    return
  fi
  mapfile -t wanted < <(grep '^ *print(.*# ' "$work/example.py" | sed 's/.*# *//')
  mapfile -t got <<<"$printed"
  [[ ${#got[@]} == "${#wanted[@]}" ]] || fail "the Python example printed ${#got[@]} lines, its comments show ${#wanted[@]}"
  local k
  for k in "${!wanted[@]}"; do
    [[ ${got[k]:-} == "${wanted[k]}" ]] || fail "Python print $((k + 1)) gave '${got[k]:-}', the comment says '${wanted[k]}'"
  done
  commands=$((commands + 1))
}

commands=0
blocks=0
while IFS= read -r -d '' block; do
  language=${block%%$'\n'*}
  body=${block#*$'\n'}
  case $language in
    sh)
      # The walk-through of starting a session is not a command for a
      # running program.
      [[ $body == *dbus-run-session* ]] && continue
      blocks=$((blocks + 1))
      run_shell_block "$body" ;;
    python)
      blocks=$((blocks + 1))
      run_python_block "$body" ;;
  esac
done <"$work/blocks"
rm -f /tmp/jan13.png

((blocks >= 3)) || fail "only $blocks runnable examples in $document"
echo "document: $blocks examples, $commands commands, $failures failures"
exit $((failures > 0))
