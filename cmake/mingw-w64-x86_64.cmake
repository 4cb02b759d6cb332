# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 GCC.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix thread model is needed for std::thread and std::mutex (the win32
# model of GCC 12 lacks them). The options every MinGW build needs, native or
# cross (static runtime, unaligned vector moves), are set in the top
# CMakeLists.txt. When Wine is installed, test programs run under it through
# scripts/windows-wine.sh.

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

find_program(GRAVITY_WINE wine)
if(GRAVITY_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-wine.sh)
endif()
