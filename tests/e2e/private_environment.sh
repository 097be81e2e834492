# Sourced by the scripts that run the real program: a private profile and
# runtime folder under $1, so that no run sees the user's settings or a
# previous run's.
private_environment() {
  export XDG_CONFIG_HOME="$1/config"
  export XDG_RUNTIME_DIR="$1/runtime"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}
