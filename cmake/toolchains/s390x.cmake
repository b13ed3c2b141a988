# Big-endian s390x Linux with Debian's cross compiler, run under qemu-user.
#
#   cmake -S . -B build-cross-s390x --toolchain cmake/toolchains/s390x.cmake
#
# Static executables need no s390x libraries beside them, so qemu-s390x runs them as they are.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(toolchain_triple s390x-linux-gnu)
set(CMAKE_C_COMPILER ${toolchain_triple}-gcc)
set(CMAKE_CXX_COMPILER ${toolchain_triple}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x)
