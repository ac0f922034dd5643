# The API reference of the avionics library, made by doxygen from the
# installed public headers (SKORVAN_PUBLIC_HEADERS): the target "reference"
# writes ${PROJECT_BINARY_DIR}/reference/html/index.html. It is not part of
# the default build; a warning (anything public left undocumented) fails it.
# docs/reference/make-reference does the work, for the target and for the
# reference_docs test alike.
find_program(SKORVAN_DOXYGEN doxygen)
set(SKORVAN_REFERENCE_DIR ${PROJECT_BINARY_DIR}/reference)
set(SKORVAN_REFERENCE_PAGES ${PROJECT_SOURCE_DIR}/docs/reference/mainpage.dox)
configure_file(${PROJECT_SOURCE_DIR}/docs/reference/Doxyfile.in ${SKORVAN_REFERENCE_DIR}/Doxyfile @ONLY)
# The script is told which doxygen CMake found; without one it says how to
# install it and fails, instead of the target silently going missing.
if(SKORVAN_DOXYGEN)
    set(SKORVAN_REFERENCE_ENV DOXYGEN=${SKORVAN_DOXYGEN})
else()
    set(SKORVAN_REFERENCE_ENV DOXYGEN=doxygen)
endif()
set(SKORVAN_REFERENCE_COMMAND ${CMAKE_COMMAND} -E env ${SKORVAN_REFERENCE_ENV}
    ${PROJECT_SOURCE_DIR}/docs/reference/make-reference ${SKORVAN_REFERENCE_DIR}/Doxyfile)

add_custom_command(OUTPUT ${SKORVAN_REFERENCE_DIR}/html/index.html
    COMMAND ${SKORVAN_REFERENCE_COMMAND} ${SKORVAN_REFERENCE_DIR}
            ${SKORVAN_PUBLIC_HEADERS} ${SKORVAN_REFERENCE_PAGES}
    DEPENDS ${SKORVAN_PUBLIC_HEADERS} ${SKORVAN_REFERENCE_PAGES}
            ${PROJECT_SOURCE_DIR}/docs/reference/Doxyfile.in
            ${PROJECT_SOURCE_DIR}/docs/reference/make-reference
    COMMENT "Making the API reference with doxygen"
    VERBATIM)
add_custom_target(reference DEPENDS ${SKORVAN_REFERENCE_DIR}/html/index.html)
