# Cross build for 32-bit Windows (the product velmora.exe): build/win-x86.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMORA_MINGW_TRIPLE i686-w64-mingw32)
set(VELMORA_WIN_ARCH x86)
set(VELMORA_WINE_LOADER /usr/lib/wine/wine)
set(VELMORA_WINE_ARCH win32)
set(VELMORA_WINESERVER /usr/lib/wine/wineserver32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
