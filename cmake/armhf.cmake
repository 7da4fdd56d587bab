# armhf.cmake - cross-compiles qor_core for 32-bit ARM (arm-linux-gnueabihf, glibc).
#
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
#
# Needs the Debian packages g++-arm-linux-gnueabihf and qemu-user. Test programs
# run through qemu-arm in user mode, so ctest and test discovery work on the
# build host. The -L prefix only serves the ARM loader and libraries of the
# cross sysroot: absolute paths that do not exist below it (build-tree rpaths,
# shared objects dlopen()ed from the build tree) still resolve on the host.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)

set(QOR_ARMHF_TRIPLE arm-linux-gnueabihf)
set(CMAKE_C_COMPILER ${QOR_ARMHF_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QOR_ARMHF_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${QOR_ARMHF_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "qemu-arm;-L;/usr/${QOR_ARMHF_TRIPLE}")

# g++ notes on every std::vector of a type that holds a double that the argument
# passing of such types changed in GCC 7.1. Nothing here mixes code built by
# compilers on both sides of that change.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")
