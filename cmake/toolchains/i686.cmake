# 32-bit x86 Linux with Debian's cross compiler.
#
#   cmake -S . -B build-cross-i686 --toolchain cmake/toolchains/i686.cmake
#
# A 64-bit kernel with 32-bit support runs the static executables itself. A kernel without it
# needs qemu-user: add -DCMAKE_CROSSCOMPILING_EMULATOR=qemu-i386 (scripts/test-cross finds out).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(toolchain_triple i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
