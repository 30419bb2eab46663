# Fuzzing: the report code and the simulated layer instrumented for libFuzzer
# and checked by AddressSanitizer and UndefinedBehaviorSanitizer. Each harness
# builds a machine from its input and runs the program on it; as a test it
# runs a bounded number of inputs and fails on any finding.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "SYSREPORT_FUZZ needs clang with libFuzzer (the fuzz preset chooses it)")
endif()

set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(target sysreport_core simwin)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link ${fuzz_sanitizers})
endforeach()
target_link_options(sysreport_core INTERFACE -fsanitize=address,undefined)

add_library(fuzz_machine STATIC tests/fuzz/fuzz_machine.cpp)
target_link_libraries(fuzz_machine PUBLIC sysreport_core simwin)
target_include_directories(fuzz_machine PUBLIC tests/fuzz)
target_compile_options(fuzz_machine PRIVATE -fsanitize=fuzzer-no-link ${fuzz_sanitizers} ${warnings})

# Per harness, as a test: at most this many inputs, and at most this many
# seconds (about a minute in all). New inputs go to the build tree, never to
# the checked-in seed corpus.
set(SYSREPORT_FUZZ_RUNS 60000 CACHE STRING "Inputs per harness in the fuzz tests")
set(SYSREPORT_FUZZ_SECONDS 15 CACHE STRING "Time limit in seconds per harness in the fuzz tests")
set(fuzz_work ${CMAKE_BINARY_DIR}/fuzz)

foreach(harness command_line drives os devices users)
  add_executable(fuzz_${harness} tests/fuzz/fuzz_${harness}.cpp)
  target_link_libraries(fuzz_${harness} PRIVATE fuzz_machine)
  target_compile_options(fuzz_${harness} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers} ${warnings})
  target_link_options(fuzz_${harness} PRIVATE -fsanitize=fuzzer ${fuzz_sanitizers})

  file(MAKE_DIRECTORY ${fuzz_work}/corpus-new/${harness} ${fuzz_work}/findings)
  add_test(NAME fuzz_${harness}
    COMMAND fuzz_${harness}
            -runs=${SYSREPORT_FUZZ_RUNS} -max_total_time=${SYSREPORT_FUZZ_SECONDS}
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
            -artifact_prefix=${fuzz_work}/findings/${harness}-
            ${fuzz_work}/corpus-new/${harness} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${harness}
    WORKING_DIRECTORY ${fuzz_work})
  set_tests_properties(fuzz_${harness} PROPERTIES LABELS fuzz TIMEOUT 300)
endforeach()
