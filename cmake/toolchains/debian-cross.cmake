# What every toolchain file here shares: Debian's cross compiler for `toolchain_triple` (with an
# optional `toolchain_suffix`, such as -posix), libraries and headers taken only from its own
# root, and static executables that need no target libraries beside them.
set(CMAKE_C_COMPILER ${toolchain_triple}-gcc${toolchain_suffix})
set(CMAKE_CXX_COMPILER ${toolchain_triple}-g++${toolchain_suffix})

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
