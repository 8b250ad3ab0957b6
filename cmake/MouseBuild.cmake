# Helpers shared by every folder's CMakeLists.txt.

set(MOUSE_WARNINGS -Wall -Wextra -Wshadow -Wformat=2 -Werror)

# Compile options for all of our own targets.
function(mouse_target target)
    target_compile_options(${target} PRIVATE ${MOUSE_WARNINGS})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# Our compile options and the Win32 headers as every Windows target sees them
# (Windows 7 and up, lean); PUBLIC hands the definitions on to what links it.
function(mouse_win_target target scope)
    mouse_target(${target})
    target_compile_definitions(${target} ${scope}
        WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endfunction()

# A platform-free library: built in both builds, never includes windows.h.
function(mouse_core_library name)
    add_library(${name} STATIC ${ARGN})
    mouse_target(${name})
endfunction()

# A Win32 library (adapters, window classes): cross build only.
function(mouse_win_library name)
    if(MOUSE_WINDOWS)
        add_library(${name} STATIC ${ARGN})
        mouse_win_target(${name} PUBLIC)
    endif()
endfunction()

# A program or DLL of the program folder: copied into dist/<subdir> after each build.
function(mouse_dist target)
    cmake_parse_arguments(ARG "" "SUBDIR" "" ${ARGN})
    set(dest ${MOUSE_DIST_DIR})
    if(ARG_SUBDIR)
        set(dest ${MOUSE_DIST_DIR}/${ARG_SUBDIR})
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dest}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${dest}/
        VERBATIM)
    add_dependencies(dist ${target})
endfunction()

# A Windows GUI program (PE32 GUI, runtimes linked statically).
function(mouse_win_program name)
    if(MOUSE_WINDOWS)
        add_executable(${name} WIN32 ${ARGN})
        mouse_win_target(${name} PRIVATE)
        target_link_options(${name} PRIVATE -static -mwindows)
    endif()
endfunction()

# A GoogleTest program of platform-free code: native build (with sanitizers).
function(mouse_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT MOUSE_WINDOWS)
        add_executable(${name} ${ARG_SOURCES})
        mouse_target(${name})
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS unit)
    endif()
endfunction()

# A GoogleTest program that runs under Wine (adapters, programs, end-to-end).
# LABEL is "wine" for adapter tests and "e2e" for tests that start our programs.
# NEEDS names the programs the test starts, built before it; SERIAL keeps it
# from running beside another test (what it drives is one per session).
function(mouse_wine_test name)
    cmake_parse_arguments(ARG "SERIAL" "LABEL;TIMEOUT" "SOURCES;LIBS;NEEDS" ${ARGN})
    if(MOUSE_WINDOWS)
        if(NOT ARG_LABEL)
            set(ARG_LABEL wine)
        endif()
        if(NOT ARG_TIMEOUT)
            set(ARG_TIMEOUT 600)
        endif()
        add_executable(${name} ${ARG_SOURCES})
        mouse_win_target(${name} PRIVATE)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
        target_link_options(${name} PRIVATE -static)
        add_test(NAME ${name} COMMAND ${name})
        # The tests see Windows paths: the Linux root is drive Z: under Wine.
        string(REPLACE "/" "\\" dist_win "Z:${MOUSE_DIST_DIR}")
        string(REPLACE "/" "\\" bin_win "Z:${MOUSE_TEST_BIN_DIR}")
        set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "MOUSE_DIST=${dist_win};MOUSE_TEST_BIN=${bin_win}")
        if(ARG_LABEL STREQUAL "e2e")
            add_dependencies(${name} dist)
        endif()
        if(ARG_NEEDS)
            add_dependencies(${name} ${ARG_NEEDS})
        endif()
        if(ARG_SERIAL)
            set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
        endif()
    endif()
endfunction()

# Helper programs that tests start (stand-ins for other parties); kept out of dist.
function(mouse_test_program name)
    if(MOUSE_WINDOWS)
        add_executable(${name} ${ARGN})
        mouse_win_target(${name} PRIVATE)
        target_link_options(${name} PRIVATE -static)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${MOUSE_TEST_BIN_DIR})
    endif()
endfunction()

# A benchmark program: prints figures, never fails on a time. Native benchmarks
# (platform-free code) are built in the native build, Windows ones in the cross
# build; scripts/bench.sh runs every program named bench_* of both.
function(mouse_bench name)
    cmake_parse_arguments(ARG "WINDOWS" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_WINDOWS AND NOT MOUSE_WINDOWS)
        return()
    endif()
    if(NOT ARG_WINDOWS AND MOUSE_WINDOWS)
        return()
    endif()
    add_executable(bench_${name} ${ARG_SOURCES})
    mouse_target(bench_${name})
    target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS})
    if(MOUSE_WINDOWS)
        target_compile_definitions(bench_${name} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
        target_link_options(bench_${name} PRIVATE -static)
        add_dependencies(bench_${name} dist)
    endif()
    set_target_properties(bench_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# Adds every folder below `parent` that owns a CMakeLists.txt, at any depth, in
# name order: test folders nest as the product folders they test do
# (tests/unit/common holds tests of its own beside common/settings and common/win).
function(mouse_add_owned_folders parent)
    file(GLOB folders LIST_DIRECTORIES true ${parent}/*)
    list(SORT folders)
    foreach(folder IN LISTS folders)
        if(IS_DIRECTORY ${folder})
            if(EXISTS ${folder}/CMakeLists.txt)
                add_subdirectory(${folder})
            endif()
            mouse_add_owned_folders(${folder})
        endif()
    endforeach()
endfunction()
