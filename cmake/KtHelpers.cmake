# Shared build helpers. Every executable lands in ${CMAKE_BINARY_DIR}/bin so that
# the Windows leg can find its test programs by name.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# GoogleTest: Debian's package on Linux, built from Debian's sources when cross-compiling.
macro(kt_find_test_frameworks)
    if(CMAKE_CROSSCOMPILING)
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        foreach(t gtest gtest_main gmock gmock_main)
            if(NOT TARGET GTest::${t})
                add_library(GTest::${t} ALIAS ${t})
            endif()
        endforeach()
    else()
        find_package(GTest REQUIRED)
    endif()
    include(GoogleTest)
endmacro()

# A GoogleTest program for a toolkit-free core. It runs on Linux and, through the
# Windows leg, under Wine.
function(kt_add_core_test target)
    if(KT_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${target} COMMAND ${target})
    set_property(GLOBAL APPEND PROPERTY KT_CORE_TESTS ${target})
endfunction()

# A QtTest program driving real widgets on the offscreen platform.
function(kt_add_qt_test target)
    if(KT_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Google Benchmark program; ./run.sh bench runs every one of them.
function(kt_add_benchmark target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# The mingw-w64 build lists its core tests in windows-tests.txt; the native build
# (with KT_WINDOWS_LEG_DIR) registers each of them as a test run under Wine, so that
# one CTest summary covers both legs.
function(kt_add_windows_leg_tests)
    get_property(tests GLOBAL PROPERTY KT_CORE_TESTS)
    if(CMAKE_CROSSCOMPILING)
        list(JOIN tests "\n" lines)
        file(WRITE ${CMAKE_BINARY_DIR}/windows-tests.txt "${lines}\n")
        return()
    endif()
    if(NOT KT_WINDOWS_LEG_DIR)
        return()
    endif()
    set(list_file ${KT_WINDOWS_LEG_DIR}/windows-tests.txt)
    if(NOT EXISTS ${list_file})
        message(FATAL_ERROR "${list_file} is missing: configure the mingw-w64 build first")
    endif()
    file(STRINGS ${list_file} windows_tests)
    set(wine_env "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
    foreach(t IN LISTS windows_tests)
        add_test(NAME win.${t} COMMAND /usr/lib/wine/wine64 ${KT_WINDOWS_LEG_DIR}/bin/${t}.exe)
        set_tests_properties(win.${t} PROPERTIES ENVIRONMENT "${wine_env}"
                             FIXTURES_REQUIRED wineprefix TIMEOUT 600)
        # Window tests share the prefix's one desktop, and with it the active window and
        # the keyboard focus: run side by side, one would take the focus from another.
        if(t MATCHES "win32|help")
            set_tests_properties(win.${t} PROPERTIES RESOURCE_LOCK wine_desktop)
        endif()
    endforeach()
    # The prefix is made once, with Wine's fonts and the null display driver, and its
    # server is kept running with its output detached for the length of the run.
    set(prefix_script ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh)
    add_test(NAME win.prefix COMMAND ${prefix_script} setup ${CMAKE_BINARY_DIR}/wineprefix null)
    set_tests_properties(win.prefix PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 300)
    add_test(NAME win.prefix.stop COMMAND ${prefix_script} stop ${CMAKE_BINARY_DIR}/wineprefix)
    set_tests_properties(win.prefix.stop PROPERTIES FIXTURES_CLEANUP wineprefix TIMEOUT 60)
endfunction()

# The suite's one version number (the top-level project's), for the targets that show
# it: --version, the packages and the Windows version resources. The versions the
# windows show are the programs' own. PUBLIC, so that tests of a library see it too.
# Resource scripts include "kt_version.h" for it (windres drops quotes from -D values).
function(kt_use_version target)
    set(header ${CMAKE_BINARY_DIR}/generated/kt_version.h)
    if(NOT EXISTS ${header})
        file(CONFIGURE OUTPUT ${header} CONTENT [[
#pragma once
// Made by CMake from the top-level project's version.
#define KT_VERSION_TEXT "@PROJECT_VERSION@"
#define KT_VERSION_MAJOR @PROJECT_VERSION_MAJOR@
#define KT_VERSION_MINOR @PROJECT_VERSION_MINOR@
#define KT_VERSION_PATCH @PROJECT_VERSION_PATCH@
]] @ONLY)
    endif()
    target_include_directories(${target} PUBLIC ${CMAKE_BINARY_DIR}/generated)
    target_compile_definitions(${target} PUBLIC KT_VERSION="${PROJECT_VERSION}")
endfunction()

# A native Windows GUI program (mingw-w64 build only): Unicode entry point, static
# runtime, its resource scripts compiled by windres in an OBJECT library (an .rc
# object inside a static library would be dropped silently, leaving no dialogs).
#   kt_add_win32_program(target RESOURCES a.rc manifest.rc SOURCES main.cpp LIBS ...)
function(kt_add_win32_program target)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;RESOURCES;LIBS" ${ARGN})
    add_library(${target}_resources OBJECT ${ARG_RESOURCES})
    kt_use_version(${target}_resources)
    add_executable(${target} WIN32 ${ARG_SOURCES} $<TARGET_OBJECTS:${target}_resources>)
    target_link_libraries(${target} PRIVATE ${ARG_LIBS})
    target_link_options(${target} PRIVATE -municode -s)
endfunction()

# Definitions every Windows translation unit is built with: the wide API only.
macro(kt_windows_definitions)
    if(WIN32)
        add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN WINVER=0x0A00 _WIN32_WINNT=0x0A00)
    endif()
endmacro()

# A libFuzzer target (clang, KT_FUZZ=ON); .ci/run runs each one for a minute from its
# seeds in corpus/<target>/ beside the calling CMakeLists.txt. The fuzz build's CTest
# runs every seed once, so that an input that once found a fault stays a test.
function(kt_add_fuzzer target)
    if(NOT KT_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${target})
    if(EXISTS ${seeds})
        # -runs=0: the seeds are read and run, nothing new is tried or written.
        add_test(NAME fuzz.${target}.seeds COMMAND ${target} -runs=0 ${seeds})
    endif()
endfunction()

# Adds the listed sub-folders of a program that exist; UI folders only with
# KT_BUILD_UI, bench only with KT_BUILD_BENCH.
function(kt_add_program_parts)
    cmake_parse_arguments(ARG "" "" "CORE;UI" ${ARGN})
    foreach(dir IN LISTS ARG_CORE)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
    if(KT_BUILD_UI)
        foreach(dir IN LISTS ARG_UI)
            if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
                add_subdirectory(${dir})
            endif()
        endforeach()
    endif()
    # A fuzzing build holds the fuzz targets and the cores they need, nothing else.
    if(KT_FUZZ)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/CMakeLists.txt)
            add_subdirectory(fuzz)
        endif()
        return()
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/CMakeLists.txt)
        add_subdirectory(tests)
    endif()
    if(KT_BUILD_BENCH AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/bench/CMakeLists.txt)
        add_subdirectory(bench)
    endif()
endfunction()

# A help book: HTML pages with a contents file and a chmcmd project. Every build
# stages the pages, with the named screenshots from docs/ as images/, into
# share/korvex-tools/help/<book> of the build tree (the installed layout, so the
# programs find it from their own folder either way); the Windows build also
# compiles it into bin/<chm>, the help file the program opens.
#   kt_add_help_book(book CHM Material.chm IMAGES docs/a.png ...)
function(kt_add_help_book book)
    cmake_parse_arguments(ARG "" "CHM" "IMAGES" ${ARGN})
    file(GLOB pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.html
         ${CMAKE_CURRENT_SOURCE_DIR}/*.css ${CMAKE_CURRENT_SOURCE_DIR}/*.hhc
         ${CMAKE_CURRENT_SOURCE_DIR}/*.hhp)
    set(stage ${CMAKE_BINARY_DIR}/share/korvex-tools/help/${book})
    set(staged)
    foreach(page IN LISTS pages)
        get_filename_component(name ${page} NAME)
        add_custom_command(OUTPUT ${stage}/${name}
                           COMMAND ${CMAKE_COMMAND} -E copy ${page} ${stage}/${name}
                           DEPENDS ${page} VERBATIM)
        list(APPEND staged ${stage}/${name})
    endforeach()
    foreach(image IN LISTS ARG_IMAGES)
        get_filename_component(name ${image} NAME)
        add_custom_command(OUTPUT ${stage}/images/${name}
                           COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${image}
                                   ${stage}/images/${name}
                           DEPENDS ${PROJECT_SOURCE_DIR}/${image} VERBATIM)
        list(APPEND staged ${stage}/images/${name})
    endforeach()
    set(outputs ${staged})
    if(WIN32 AND ARG_CHM)
        find_program(KT_CHMCMD NAMES chmcmd-3.2.2 chmcmd REQUIRED)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/${ARG_CHM}
                           COMMAND ${KT_CHMCMD} ${book}.hhp >/dev/null
                           COMMAND ${CMAKE_COMMAND} -E copy ${ARG_CHM} ${CMAKE_BINARY_DIR}/bin/${ARG_CHM}
                           WORKING_DIRECTORY ${stage}
                           DEPENDS ${staged})
        list(APPEND outputs ${CMAKE_BINARY_DIR}/bin/${ARG_CHM})
    endif()
    add_custom_target(${book}_help ALL DEPENDS ${outputs})
    set_property(GLOBAL APPEND PROPERTY KT_HELP_BOOKS ${book})
endfunction()
