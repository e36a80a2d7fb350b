# `format` rewrites every source file with the repository's .clang-format; `format-check` fails
# when a file is not formatted.
find_program(CLANG_FORMAT_PROGRAM clang-format)
if(CLANG_FORMAT_PROGRAM)
    file(GLOB_RECURSE FORMAT_SOURCES CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h
        ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/*.h
        ${CMAKE_SOURCE_DIR}/tools/*.cpp ${CMAKE_SOURCE_DIR}/tools/*.h
        ${CMAKE_SOURCE_DIR}/benchmarks/*.cpp)
    add_custom_target(format COMMAND ${CLANG_FORMAT_PROGRAM} -i ${FORMAT_SOURCES} VERBATIM)
    add_custom_target(format-check COMMAND ${CLANG_FORMAT_PROGRAM} --dry-run -Werror ${FORMAT_SOURCES} VERBATIM)
endif()
