# Helpers shared by every subsystem: one static library per folder, the warning
# set, the sanitizer switches and the test registration.

set(WENDRA_WARNINGS -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual -Werror)
# GCC 12 reports impossible overlaps inside std::string copies once inlined at -O2
# and above (GCC bug 105651); the warning says nothing about our code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    list(APPEND WENDRA_WARNINGS -Wno-restrict)
endif()

function(wendra_apply_sanitizers)
    if(WENDRA_SANITIZE AND WENDRA_TSAN)
        message(FATAL_ERROR "WENDRA_SANITIZE and WENDRA_TSAN exclude each other")
    endif()
    if(WENDRA_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
    if(WENDRA_TSAN)
        add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
        add_link_options(-fsanitize=thread)
    endif()
endfunction()

# wendra_stage_headers(target dir prefix)
# Gives `target` the headers of `dir` (not of its subfolders) as its PUBLIC header set,
# staged as symbolic links under an include root of its own, as "<prefix>/Header.h".
# Only targets that link it see that root, so including a library that is not a
# declared dependency fails to compile. The test build compiles each header alone.
function(wendra_stage_headers target folder prefix)
    set(stage ${PROJECT_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${stage})
    file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
    set(staged)
    foreach(header IN LISTS headers)
        get_filename_component(leaf ${header} NAME)
        cmake_path(APPEND stage ${prefix} ${leaf} OUTPUT_VARIABLE link)
        cmake_path(NORMAL_PATH link)
        cmake_path(GET link PARENT_PATH parent)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${header} ${link} SYMBOLIC)
        list(APPEND staged ${link})
    endforeach()
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        set(scope INTERFACE)
    else()
        set(scope PUBLIC)
    endif()
    if(staged)
        target_sources(${target} ${scope} FILE_SET HEADERS BASE_DIRS ${stage} FILES ${staged})
    else()
        target_include_directories(${target} ${scope} ${stage})
    endif()
endfunction()

# wendra_library(name SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...] [OBJECT])
# Declares wendra_<name> from the current folder src/<dir>; its headers are included
# as "<dir>/Header.h" by it and by the targets that link it, and by no one else.
# OBJECT makes an object library, whose code is linked whole into every program that
# names it (the machine's implementations, which the logic libraries call without
# linking them).
function(wendra_library name)
    cmake_parse_arguments(ARG "OBJECT" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    set(target wendra_${name})
    if(ARG_OBJECT)
        add_library(${target} OBJECT ${ARG_SOURCES})
    else()
        add_library(${target} STATIC ${ARG_SOURCES})
    endif()
    file(RELATIVE_PATH prefix ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
    wendra_stage_headers(${target} ${CMAKE_CURRENT_SOURCE_DIR} ${prefix})
    target_compile_options(${target} PRIVATE ${WENDRA_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# wendra_program_headers(target DEPS ...)
# The headers beside a program's sources (included by their bare names), checked like
# a library's: an interface library that carries them and the program's dependencies.
function(wendra_program_headers program)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    set(target wendra_${program}_headers)
    add_library(${target} INTERFACE)
    wendra_stage_headers(${target} ${CMAKE_CURRENT_SOURCE_DIR} ".")
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
    target_link_libraries(${program} PRIVATE ${target})
endfunction()

# wendra_test(name SOURCES ... LIBS ... [LABELS unit|regress|system])
# One GoogleTest program; each test case becomes a ctest entry with the labels.
function(wendra_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_LABELS)
        set(ARG_LABELS unit)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${WENDRA_WARNINGS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        WENDRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        WENDRA_SHARED_DATA="${WENDRA_SHARED_DATA}"
        WENDRA_TOOL_PATH="$<TARGET_FILE:wendra-tool>")
    # The machine's code is linked whole into each program (see platform/linux).
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} wendra_testsupport wendra_platform_linux
                                          GTest::gtest_main)
    gtest_discover_tests(${name} PROPERTIES LABELS "${ARG_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()
