include(GoogleTest)

# quenby_add_test(<name> SOURCES ... LIBS ... [GUI])
# One GoogleTest executable per source folder. GUI tests run on the offscreen
# platform at 96 DPI so that pixels are the same on every machine.
function(quenby_add_test name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
    if(NOT T_GUI)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    # The environment comes from the executable itself (TestEnvironment.cpp),
    # so a test run by hand behaves as under ctest.
    target_compile_definitions(${name} PRIVATE
        QUENBY_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        QUENBY_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300)
endfunction()

# Adds each listed folder that has a CMakeLists.txt.
macro(quenby_add_subdirs)
    foreach(_d ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_d}/CMakeLists.txt)
            add_subdirectory(${_d})
        endif()
    endforeach()
endmacro()
