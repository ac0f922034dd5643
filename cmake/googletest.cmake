# GoogleTest for the tests. Natively the distribution's build is used
# (find_package). The Windows builds need it compiled by the cross compiler,
# so its sources are added as a subdirectory: they are looked for under
# src/googletest of the system prefixes, or taken from
# -DSKORVAN_GOOGLETEST_SOURCE_DIR=... when they live elsewhere.
if(NOT SKORVAN_TESTS)
    return()
endif()
if(NOT WIN32)
    find_package(GTest REQUIRED)
    return()
endif()
find_path(SKORVAN_GOOGLETEST_SOURCE_DIR googletest/include/gtest/gtest.h
    PATHS ${CMAKE_SYSTEM_PREFIX_PATH} /usr /usr/local PATH_SUFFIXES src/googletest
    NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT SKORVAN_GOOGLETEST_SOURCE_DIR)
    message(FATAL_ERROR "GoogleTest's sources were not found: install them (Debian: googletest) "
                        "or pass -DSKORVAN_GOOGLETEST_SOURCE_DIR=FOLDER, or -DSKORVAN_TESTS=OFF")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${SKORVAN_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
