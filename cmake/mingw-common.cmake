# The part of the two MinGW-w64 toolchain files that does not depend on the
# architecture. The including file sets:
#   VELMORA_MINGW_TRIPLE  i686-w64-mingw32 or x86_64-w64-mingw32
#   VELMORA_WIN_ARCH      x86 or x64 (names the build folder, the packages)
#   VELMORA_WINE_LOADER   the Wine loader that runs this architecture's programs
#   VELMORA_WINE_ARCH     WINEARCH of a new prefix for them (win32 or win64)
#   VELMORA_WINESERVER    the wineserver of the same architecture: a server
#                         started before its prefix exists makes the prefix
#                         of its own architecture
# Debian's MinGW-w64 in the posix thread model (GoogleTest needs std::mutex);
# executables are static and run under Wine through CTest.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wide Win32 API throughout; Windows XP era headers are not wanted.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The loader is called directly: Debian's `wine` wrapper picks the 32-bit one
# whenever it is installed, even for 64-bit programs.
if(EXISTS ${VELMORA_WINE_LOADER})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORA_WINE_LOADER})
endif()
