# The avionics library for gauge authors: one static library of the
# portable areas, with C headers installed under include/skorvan, a
# package configuration for find_package(Skorvan) -> Skorvan::avionics and
# a pkg-config file (skorvan.pc).
set(SKORVAN_PUBLIC_HEADERS
    ${PROJECT_SOURCE_DIR}/geo/geo.h
    ${PROJECT_SOURCE_DIR}/avionics/airdata/airdata.h
    ${PROJECT_SOURCE_DIR}/avionics/list/list.h
    ${PROJECT_SOURCE_DIR}/avionics/facilities/facilities.h
    ${PROJECT_SOURCE_DIR}/avionics/panel/panel.h
    ${PROJECT_SOURCE_DIR}/avionics/sysblock/sysblock.h
    ${PROJECT_SOURCE_DIR}/avionics/map/map.h
    ${PROJECT_BINARY_DIR}/generated/skorvan_version.h)

# A gauge written in C links this library with the C driver, which brings
# no C++ runtime: the library's objects must reference none of it (no
# exceptions, no RTTI, no out-of-line std:: parts, no operator new).
# tests/check-c-link and tests/check-library-symbols hold them to that.
set(SKORVAN_LIBRARY_OBJECTS skorvan_geo skorvan_airdata skorvan_list skorvan_facilities
    skorvan_panel skorvan_sysblock skorvan_map)
foreach(objects IN LISTS SKORVAN_LIBRARY_OBJECTS)
    target_compile_options(${objects} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
endforeach()

add_library(skorvan_avionics STATIC
    $<TARGET_OBJECTS:skorvan_geo> $<TARGET_OBJECTS:skorvan_airdata>
    $<TARGET_OBJECTS:skorvan_list> $<TARGET_OBJECTS:skorvan_facilities>
    $<TARGET_OBJECTS:skorvan_panel> $<TARGET_OBJECTS:skorvan_sysblock>
    $<TARGET_OBJECTS:skorvan_map>)
add_library(Skorvan::avionics ALIAS skorvan_avionics)

# The test build of the two objects that carry test hooks (the folder walk's
# decoder and the shared block's moment before creating it), compiled with
# SKORVAN_TEST_HOOKS. A test that links it gets these objects on its link
# line ahead of the archive, and since they define every symbol of their
# archive counterparts, those are never pulled in: the hooks reach tests and
# benchmarks only, never the installed library.
if(WIN32)
    set(SKORVAN_SYSBLOCK_PLATFORM ${PROJECT_SOURCE_DIR}/avionics/sysblock/sysblock_win32.cpp)
else()
    set(SKORVAN_SYSBLOCK_PLATFORM ${PROJECT_SOURCE_DIR}/avionics/sysblock/sysblock_posix.cpp)
endif()
add_library(skorvan_test_hooks OBJECT ${PROJECT_SOURCE_DIR}/avionics/facilities/database.cpp
    ${SKORVAN_SYSBLOCK_PLATFORM})
target_compile_definitions(skorvan_test_hooks PUBLIC SKORVAN_TEST_HOOKS)
target_compile_options(skorvan_test_hooks PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
target_link_libraries(skorvan_test_hooks PUBLIC skorvan_avionics)
set_target_properties(skorvan_avionics PROPERTIES EXPORT_NAME avionics OUTPUT_NAME skorvan-avionics)
target_include_directories(skorvan_avionics PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/geo>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/airdata>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/list>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/facilities>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/panel>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/sysblock>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/avionics/map>
    $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>
    $<INSTALL_INTERFACE:include>)
if(WIN32)
    target_link_libraries(skorvan_avionics PUBLIC gdi32 user32)
else()
    find_package(Threads REQUIRED)
    target_link_libraries(skorvan_avionics PUBLIC m rt Threads::Threads)
endif()

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
install(TARGETS skorvan_avionics EXPORT SkorvanTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${SKORVAN_PUBLIC_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/skorvan)
install(EXPORT SkorvanTargets NAMESPACE Skorvan:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Skorvan)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/SkorvanConfig.cmake.in
    ${PROJECT_BINARY_DIR}/SkorvanConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Skorvan)
# Before 1.0 a minor version may change the interface: find_package(Skorvan
# 0.1) accepts 0.1.x only. From 1.0 on, a major version keeps it.
if(PROJECT_VERSION_MAJOR EQUAL 0)
    set(SKORVAN_COMPATIBILITY SameMinorVersion)
else()
    set(SKORVAN_COMPATIBILITY SameMajorVersion)
endif()
write_basic_package_version_file(${PROJECT_BINARY_DIR}/SkorvanConfigVersion.cmake
    COMPATIBILITY ${SKORVAN_COMPATIBILITY})
install(FILES ${PROJECT_BINARY_DIR}/SkorvanConfig.cmake ${PROJECT_BINARY_DIR}/SkorvanConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Skorvan)

# The same library for pkg-config. It is static, so the system libraries it
# calls go in Libs (not Libs.private): a plain --libs links.
if(WIN32)
    set(SKORVAN_PC_SYSTEM_LIBS "-lgdi32 -luser32")
else()
    set(SKORVAN_PC_SYSTEM_LIBS "-lm -lrt -pthread")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    message(FATAL_ERROR "skorvan.pc names its folders relative to the prefix: give CMAKE_INSTALL_LIBDIR and CMAKE_INSTALL_INCLUDEDIR as relative paths")
endif()
file(RELATIVE_PATH SKORVAN_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" SKORVAN_PC_PREFIX "${SKORVAN_PC_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/skorvan.pc.in ${PROJECT_BINARY_DIR}/skorvan.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/skorvan.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
include(${PROJECT_SOURCE_DIR}/cmake/consumer-toolchain.cmake)
