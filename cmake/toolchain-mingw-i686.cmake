# cmake/toolchain-mingw-i686.cmake
# 32-bit Windows: the shipped Skorvan.dll and its tests under 32-bit Wine.
set(SKORVAN_MINGW_ARCH i686)
set(SKORVAN_WINE_BUILD win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
