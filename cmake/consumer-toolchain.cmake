# The toolchain file a gauge project on Linux configures with to build for
# Windows against the installed package (Windows builds only): it names the
# MinGW-w64 compilers of this build's width and lets find_package(Skorvan)
# find the package under CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY.
if(WIN32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(SKORVAN_ARCH i686)
    else()
        set(SKORVAN_ARCH x86_64)
    endif()
    set(SKORVAN_TRIPLET ${SKORVAN_ARCH}-w64-mingw32)
    set(SKORVAN_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Skorvan)
    # From the package's folder back up to the prefix ("../../.." for lib/cmake/Skorvan).
    file(RELATIVE_PATH SKORVAN_PREFIX_FROM_PACKAGE /${SKORVAN_PACKAGE_DIR} /)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/SkorvanToolchain.cmake.in
                   ${PROJECT_BINARY_DIR}/toolchain-${SKORVAN_TRIPLET}.cmake @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/toolchain-${SKORVAN_TRIPLET}.cmake
            DESTINATION ${SKORVAN_PACKAGE_DIR})
endif()
