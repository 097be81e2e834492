# Sourced by the scripts that drive a running kestrel through its D-Bus
# automation interface: a private X server and session bus, the program
# started from a folder of its own, and waiting for its bus name.
#
# The sourcing script calls automation_session_enter "$0" "$@" first; it
# re-executes that script under dbus-run-session and xvfb-run, since the tests
# run where there is neither a display nor a session bus.

automation_bus_name=org.plover.Kestrel

automation_session_enter() {
  local script=$1
  shift
  if [[ -z ${KESTREL_AUTOMATION_SESSION:-} ]]; then
    # dbus-run-session's "Failed to set fd limit" is harmless noise.
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
      env KESTREL_AUTOMATION_SESSION=1 bash "$script" "$@"
  fi
  export QT_QPA_PLATFORM=xcb
}

source "$(dirname "${BASH_SOURCE[0]}")/private_environment.sh"

# The process id of the connection that owns the name, or nothing.
automation_owner_pid() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.GetConnectionUnixProcessID "$automation_bus_name" 2>/dev/null \
    | sed -n 's/^(uint32 \([0-9]*\),)$/\1/p'
}

# Waits up to $2 seconds (default 20) until process $1 owns the name.
automation_wait_for_owner() {
  local pid=$1 seconds=${2:-20} i
  for ((i = 0; i < seconds * 10; i++)); do
    [[ $(automation_owner_pid) == "$pid" ]] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Starts a copy of kestrel $1 from a folder of its own under $2, so that
# UM_OUTPUT 1 writes BarCode.bmp beside it and nowhere else, with its output
# going to $3; sets automation_pid and waits until that process owns the
# name.
automation_start_copy() {
  local program=$1 work=$2 log=${3:-/dev/null}
  mkdir -p "$work/app"
  cp "$program" "$work/app/kestrel"
  "$work/app/kestrel" >"$log" 2>&1 &
  automation_pid=$!
  automation_wait_for_owner "$automation_pid" 20
}

# A private folder for one run ($automation_work, with a private profile
# and runtime folder in it); on exit the program started there is stopped
# and the folder removed.
automation_private_run() {
  automation_work=$(mktemp -d)
  automation_pid=
  trap automation_end_run EXIT
  private_environment "$automation_work"
}

automation_end_run() {
  [[ -n ${automation_pid:-} ]] && kill "$automation_pid" 2>/dev/null || true
  rm -rf "$automation_work"
}
