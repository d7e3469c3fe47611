# Warnings and sanitizers for the project's own targets only.
add_library(tervane_options INTERFACE)
target_compile_options(tervane_options INTERFACE -Wall -Wextra)
target_include_directories(tervane_options INTERFACE ${PROJECT_SOURCE_DIR})

if(TERVANE_SANITIZE)
    set(TERVANE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${TERVANE_SANITIZER_FLAGS})
    add_link_options(${TERVANE_SANITIZER_FLAGS})
endif()

if(TERVANE_FUZZ)
    # The libraries get coverage instrumentation; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Adds one layer: every .cpp and .S in the calling folder but main.cpp makes
# the library NAME, linked to the libraries that follow the name. A folder
# whose sources are still to come gives an interface library.
function(tervane_layer name)
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.S)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    if(sources)
        add_library(${name} STATIC ${sources})
        target_link_libraries(${name} PUBLIC tervane_options ${ARGN})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE tervane_options ${ARGN})
    endif()
endfunction()

# Libraries outside the project (SDL, GTK, fontconfig) keep caches for the
# life of the process; the suppressions keep LeakSanitizer on our own code.
set(TERVANE_TEST_ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# Adds one GoogleTest executable from every .cpp in the calling folder.
# ENVIRONMENT sets variables for each test; XVFB runs the tests under xvfb-run.
function(tervane_test_suite name)
    cmake_parse_arguments(SUITE "XVFB" "" "LIBS;ENVIRONMENT" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${SUITE_LIBS} GTest::gtest GTest::gtest_main tervane_options)
    # gtest_discover_tests splits a list-valued ENVIRONMENT property into
    # separate arguments, so only its first variable would arrive; env(1)
    # in front of the executable sets them all, for discovery and each test.
    set(launcher env ${TERVANE_TEST_ENVIRONMENT} ${SUITE_ENVIRONMENT})
    if(SUITE_XVFB)
        list(APPEND launcher xvfb-run -a)
    endif()
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${launcher}")
    # Labelled with the suite's name, so that `ctest -L` can pick suites.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${name})
endfunction()

if(EMSCRIPTEN)
    # WebAssembly's 128-bit SIMD runs the SSE2 paths through emscripten's
    # SSE2 headers, and bulk memory makes a memcpy one instruction: together
    # they nearly double the web version's frame rate.
    add_compile_options(-msimd128 -msse2 -mbulk-memory)
    add_link_options(-mbulk-memory)
endif()
