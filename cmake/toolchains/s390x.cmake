# Big-endian s390x Linux with Debian's cross compiler, run under qemu-user.
#
#   cmake -S . -B build-cross-s390x --toolchain cmake/toolchains/s390x.cmake
#
# Static executables need no s390x libraries beside them, so qemu-s390x runs them as they are.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(toolchain_triple s390x-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x)
