# Cross build for 64-bit Windows (the same program): build/win-x64. Its
# programs run under wine64, also on machines that run no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMORA_MINGW_TRIPLE x86_64-w64-mingw32)
set(VELMORA_WIN_ARCH x64)
set(VELMORA_WINE_LOADER /usr/lib/wine/wine64)
set(VELMORA_WINE_ARCH win64)
set(VELMORA_WINESERVER /usr/lib/wine/wineserver64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
