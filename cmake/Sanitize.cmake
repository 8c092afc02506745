# Instrumentation of every target for the sanitizer build (QUIRELLE_SANITIZE) and, with
# QUIRELLE_FUZZ, coverage for libFuzzer. Undefined behaviour stops the program at once.
if(QUIRELLE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUIRELLE_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    set(QUIRELLE_SANITIZE ON)
endif()

if(QUIRELLE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # What the tests run with (one environment entry per test property); fuzz/run.sh sets
    # the same.
    set(QUIRELLE_SANITIZER_TEST_PROPERTIES
        ENVIRONMENT_MODIFICATION
        "LSAN_OPTIONS=set:suppressions=${CMAKE_SOURCE_DIR}/cmake/LeakSuppressions.txt")
endif()

if(QUIRELLE_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link
        -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage-ignorelist.txt)
endif()
