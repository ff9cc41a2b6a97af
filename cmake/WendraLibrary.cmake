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

# wendra_library(name SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# Declares wendra_<name> from src/<name>; headers are included as "<name>/Header.h".
function(wendra_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    set(target wendra_${name})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE ${WENDRA_WARNINGS})
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
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
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} wendra_testsupport GTest::gtest_main)
    gtest_discover_tests(${name} PROPERTIES LABELS "${ARG_LABELS}" DISCOVERY_TIMEOUT 60)
endfunction()
