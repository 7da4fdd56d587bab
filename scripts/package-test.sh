#!/bin/bash
# Installs the libraries into a scratch prefix and builds the consumer program of
# tests/package against them twice, through the CMake package and through
# pkg-config, and runs both. Usage: scripts/package-test.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
scripts/deps.sh pkg-config
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null
libdir=$(dirname "$(find "$prefix" -name 'libqor_core.so' | head -1)")

echo "-- through find_package"
cmake -S tests/package -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$scratch/cmake" > /dev/null
LD_LIBRARY_PATH=$libdir "$scratch/cmake/consumer"

echo "-- through pkg-config"
export PKG_CONFIG_PATH=$libdir/pkgconfig
g++ -std=c++17 -o "$scratch/consumer-pc" tests/package/consumer.cpp \
  $(pkg-config --cflags --libs qor_core qor_tcp qor_remote)
LD_LIBRARY_PATH=$libdir "$scratch/consumer-pc"
