#!/bin/sh
# Runs every test program of a build directory (default: build) under valgrind's
# memcheck. Any memory error, and any definite leak, fails the run.
# Usage: scripts/memcheck.sh [build-dir]
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build}
scripts/deps.sh valgrind
status=0
# The allocation-failure program brings its own operator new, delete and realloc;
# valgrind puts its allocator in place of some of them, which the program's inlined
# counterparts then mismatch. It runs under ASan instead.
for program in $(find "$dir/tests" -type f -name 'qor_*_tests' ! -name qor_alloc_tests -perm -u+x | sort); do
  echo "-- $program"
  # Test programs start their fixtures' modules and threads themselves; each runs
  # once, whole, with its own output kept short.
  if ! valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite \
      --errors-for-leak-kinds=definite --track-origins=no --num-callers=30 \
      "$program" --gtest_brief=1; then
    echo "memcheck: $program failed"
    status=1
  fi
done
exit $status
