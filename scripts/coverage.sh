#!/bin/sh
# Builds the library and the suite with --coverage into build-cov (or the given
# directory), runs the suite and prints gcovr's summary of qor_core/ (throw
# branches and unreachable branches excluded). The per-file report is left in
# coverage.txt there.
# Usage: scripts/coverage.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build-cov}
scripts/deps.sh gcovr
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DQOR_COVERAGE=ON -DQOR_BUILD_EXAMPLES=OFF
cmake --build "$dir" -j2
find "$dir" -name '*.gcda' -delete
ctest --test-dir "$dir" --output-on-failure -j2
gcovr --root . --filter 'qor_core/' --exclude-throw-branches --exclude-unreachable-branches \
  --print-summary --output "$dir/coverage.txt" "$dir"
