# Cross-compiling for 32-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-i686):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake \
#         -DCMAKE_PREFIX_PATH=<where the Windows SDL2 and SDL2_image are>
# Libraries, headers and CMake packages are looked up only in the MinGW
# sysroot and in CMAKE_PREFIX_PATH, never among the build machine's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(ZORVANE_MINGW i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORVANE_MINGW}-gcc)
set(CMAKE_CXX_COMPILER ${ZORVANE_MINGW}-g++)
set(CMAKE_RC_COMPILER ${ZORVANE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZORVANE_MINGW} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything static, the GCC runtime and the C++ library included, so that a
# program needs no DLL beyond those Windows itself has. The linker writes
# SOURCE_DATE_EPOCH into the header where it is set, and would otherwise
# write the time of the link: the same source is to give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
