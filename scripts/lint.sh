#!/usr/bin/env bash
# Checks the layout of every tracked C++ file against .clang-format and runs
# the checks of .clang-tidy over the program's own sources (core, cli, gui,
# platform, send; not tests or bench, whose names and sizes follow other
# needs). Exits non-zero on any finding of either.
# Usage: lint.sh [--format-only | --tidy-only]
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
do_format=1
do_tidy=1
case "${1:-}" in
  --format-only) do_tidy=0 ;;
  --tidy-only) do_format=0 ;;
  "") ;;
  *) echo "usage: $0 [--format-only | --tidy-only]" >&2; exit 2 ;;
esac

status=0

if ((do_format)); then
  echo "== clang-format"
  # Files in batches, so the tree is split over every core.
  if ! git ls-files -z '*.cpp' '*.h' \
      | xargs -0 -n 16 -P "$jobs" clang-format --dry-run --Werror; then
    echo "clang-format: files above differ from .clang-format (fix with clang-format -i)" >&2
    status=1
  fi
fi

if ((do_tidy)); then
  echo "== clang-tidy"
  # A build folder of its own, configured but never built: clang-tidy needs
  # only the compilation database. No source includes Qt's generated
  # meta-object files, and building those would first build the libraries
  # the programs link. Tests and bench are left out.
  cmake -S . -B build-lint -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF >/dev/null
  mapfile -t sources < <(git ls-files 'core/*.cpp' 'cli/*.cpp' 'gui/*.cpp' 'platform/*.cpp' \
    'send/*.cpp')
  # run-clang-tidy takes each argument as a pattern; anchor them so that
  # one file never stands for another.
  patterns=()
  for file in "${sources[@]}"; do
    patterns+=("^$PWD/${file//./\\.}\$")
  done
  if ! run-clang-tidy -quiet -j "$jobs" -p build-lint "${patterns[@]}" \
      2> >(grep -v -e '^[0-9]* warnings\? generated\.$' -e '^Suppressed [0-9]* warnings' \
             -e '^Use -header-filter=' -e '^Use -system-headers' >&2); then
    echo "clang-tidy: findings above (see .clang-tidy)" >&2
    status=1
  fi
fi

exit "$status"
