# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 GCC.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix thread model is needed for std::thread and std::mutex (the win32
# model of GCC 12 lacks them). Everything GCC brings is linked statically, so
# gravity.exe needs no DLL beyond those Windows itself ships. When Wine is
# installed, test programs run under it through scripts/windows-wine.sh.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GRAVITY_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${GRAVITY_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${GRAVITY_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${GRAVITY_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GRAVITY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config must not hand the host's Linux libraries (EGL, SDL2) to the
# Windows build.
set(ENV{PKG_CONFIG_LIBDIR} ${CMAKE_FIND_ROOT_PATH}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Win64 only guarantees a 16-byte aligned stack, and GCC cannot realign it for
# the 32- and 64-byte vector spills of AVX code, yet still emits aligned moves
# for them (a crash on the first misaligned one). Having the assembler write
# every aligned vector move as an unaligned one costs nothing on current CPUs.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

# -static also takes in winpthread, which the posix thread model links.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(GRAVITY_WINE wine)
if(GRAVITY_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-wine.sh)
endif()
