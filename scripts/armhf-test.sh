#!/bin/sh
# Cross-builds the library, the examples and the test suite for 32-bit ARM
# (arm-linux-gnueabihf) into build-armhf and runs the suite under qemu-arm.
# Usage: scripts/armhf-test.sh [extra cmake arguments...]
set -eu
cd "$(dirname "$0")/.."

scripts/deps.sh g++-arm-linux-gnueabihf qemu-user googletest
cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/armhf.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build-armhf -j2
ctest --test-dir build-armhf --output-on-failure -j2
