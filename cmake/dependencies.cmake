# Libraries from the distribution: CLI11 (options of the tools and the
# stand-in simulator, header-only, so the Windows programs use it too);
# natively nlohmann-json (JSON input) and pugixml (GPX input).
#
# The version header comes first: every program and the library include it.
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
    ${PROJECT_BINARY_DIR}/generated/skorvan_version.h @ONLY)
add_library(skorvan_version INTERFACE)
target_include_directories(skorvan_version INTERFACE $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>)

if(WIN32)
    # The cross compiler must not see the build machine's /usr/include (its
    # C headers would shadow MinGW's), so CLI11's folder is linked alone
    # into the build tree and that is searched.
    find_path(SKORVAN_CLI11_ROOT CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/cli11)
    file(CREATE_LINK ${SKORVAN_CLI11_ROOT}/CLI ${PROJECT_BINARY_DIR}/cli11/CLI SYMBOLIC)
    add_library(skorvan_cli11 INTERFACE)
    target_include_directories(skorvan_cli11 SYSTEM INTERFACE ${PROJECT_BINARY_DIR}/cli11)
else()
    find_package(CLI11 CONFIG REQUIRED)
    add_library(skorvan_cli11 INTERFACE)
    target_link_libraries(skorvan_cli11 INTERFACE CLI11::CLI11)
    find_package(nlohmann_json 3 CONFIG REQUIRED)
    find_package(pugixml CONFIG REQUIRED)
endif()
