# Windows x64 with Debian's mingw-w64 (the posix threads variant), run through Wine.
#
#   cmake -S . -B build-cross-windows --toolchain cmake/toolchains/windows-x64.cmake
#
# The executables are linked statically, so that Wine (or Windows) needs no MinGW runtime DLLs.
# CTest starts each test program with wine; scripts/test-cross prepares the Wine prefix first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchain_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
