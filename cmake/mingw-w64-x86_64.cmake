# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the "posix"
# thread model, package g++-mingw-w64-x86-64-posix). Used by
# scripts/test-windows for the system layer and its test program:
#   cmake -S tests/windows -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LW_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${LW_MINGW_PREFIX}-gcc-posix ${LW_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${LW_MINGW_PREFIX}-g++-posix ${LW_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${LW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The executables carry their C++ runtime, so that they run without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
