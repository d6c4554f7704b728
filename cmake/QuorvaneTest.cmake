# GoogleTest from the sources of Debian's googletest package, so that a cross build compiles it too,
# and one function that declares a test program.

set(QUORVANE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

function(quorvane_use_gtest)
    if(TARGET GTest::gtest_main)
        return()
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${QUORVANE_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # GoogleTest is third-party code: keep our warning flags off it.
    foreach(target gtest gtest_main)
        target_compile_options(${target} PRIVATE -w)
    endforeach()
endfunction()

# add_quorvane_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l1 l2] [TIMEOUT s])
function(add_quorvane_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    quorvane_use_gtest()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    include(GoogleTest)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
endfunction()
