#!/usr/bin/env bash
# Installs what is missing, checks formatting and static analysis
# (scripts/lint.sh, the analysis running beside the builds at low priority),
# builds everything and runs the whole test suite: the
# release build with every test (the programs the tests compare with are
# required, so none of those tests can skip), the whole tree again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and kestrel-cli's batch
# on two threads under ThreadSanitizer. The presets are in CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
started=$SECONDS

# Tests never need a real display or the user's runtime folder.
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
# Rebuilds on a developer's machine reuse what is unchanged.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi

echo "== formatting"
bash scripts/lint.sh --format-only

# Static analysis parses every source again and keeps both cores busy for
# minutes; at the lowest priority it takes only what the builds and tests
# leave idle (linking, code generation, tests waiting on programs), and its
# findings are reported at the end. A failed step stops it.
tidy_log=$(mktemp)
# A process group of its own (job control on for this one job), so that
# stopping it stops the clang-tidy runs too. Not a session of its own: the
# kernel would schedule a new session as a group beside this one, and the
# low priority would then count only inside it.
set -m
nice -n 19 bash scripts/lint.sh --tidy-only >"$tidy_log" 2>&1 &
tidy_pid=$!
set +m
trap 'kill -- -"$tidy_pid" 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR" "$tidy_log"' EXIT

echo "== release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j"$jobs"

echo "== the whole tree under AddressSanitizer and UndefinedBehaviorSanitizer"
# The programs under Xvfb and the package are the release build's to test;
# everything else runs again here, the window on the offscreen platform.
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j"$jobs" -E '^(e2e|package|build)\.'

echo "== kestrel-cli's batch on two threads under ThreadSanitizer"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
tests/sanitizers/tsan_batch.sh build-tsan/cli/kestrel-cli

echo "== static analysis"
tidy_status=0
wait "$tidy_pid" || tidy_status=$?
cat "$tidy_log"
if ((tidy_status != 0)); then
  exit "$tidy_status"
fi

echo "== all tests passed in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
