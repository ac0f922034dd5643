# cmake/toolchain-mingw-x86_64.cmake
# 64-bit Windows: the same sources under 64-bit Wine, for machines that
# execute 64-bit code only.
set(SKORVAN_MINGW_ARCH x86_64)
set(SKORVAN_WINE_BUILD win64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
