# Windows x64 with Debian's mingw-w64 (the posix threads variant), run through Wine.
#
#   cmake -S . -B build-cross-windows --toolchain cmake/toolchains/windows-x64.cmake
#
# The executables are linked statically, so that Wine (or Windows) needs no MinGW runtime DLLs.
# CTest starts each test program with wine; scripts/test-cross prepares the Wine prefix first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain_triple x86_64-w64-mingw32)
set(toolchain_suffix -posix)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
set(CMAKE_RC_COMPILER ${toolchain_triple}-windres)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
