# Tests of the real program: its file (headers, imports, resources, a second
# build) and, under Wine, its runs, in a prefix that belongs to this build tree.
set(wine_prefix ${CMAKE_BINARY_DIR}/wineprefix)
set(wine_runner ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh)

add_executable(probe tests/wine/probe.cpp)
target_compile_definitions(probe PRIVATE ${win_defs})
target_link_options(probe PRIVATE ${win_link_options})

add_executable(class_member_check tests/wine/class_member_check.cpp)
target_link_libraries(class_member_check PRIVATE sysreport_core)
target_link_options(class_member_check PRIVATE ${win_link_options})

# A netapi32.dll without NetUserEnum, put beside a copy of the program by the
# binding test. It imports nothing and runs no start-up code.
add_library(stub_netapi32 SHARED tests/wine/stub_netapi32.c tests/wine/stub_netapi32.def)
set_target_properties(stub_netapi32 PROPERTIES PREFIX "")
target_compile_options(stub_netapi32 PRIVATE ${warnings})
target_link_options(stub_netapi32 PRIVATE -nostdlib -Wl,--no-insert-timestamp)

foreach(check pe_file imports resources reproducible)
  add_test(NAME exe_${check}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/build/${check}.sh $<TARGET_FILE:sysreport> ${CMAKE_SOURCE_DIR})
endforeach()
set_tests_properties(exe_reproducible PROPERTIES TIMEOUT 600)

add_test(NAME wine_prefix COMMAND ${wine_runner} --init)
set_tests_properties(wine_prefix PROPERTIES
  FIXTURES_SETUP wine SKIP_RETURN_CODE 77 TIMEOUT 900
  ENVIRONMENT SYSREPORT_WINEPREFIX=${wine_prefix})

foreach(name driver drives os devices users readonly binding)
  add_test(NAME wine_${name} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/${name}.sh)
  set_tests_properties(wine_${name} PROPERTIES
    FIXTURES_REQUIRED wine RUN_SERIAL TRUE SKIP_RETURN_CODE 77 TIMEOUT 600
    ENVIRONMENT "SYSREPORT_WINEPREFIX=${wine_prefix};RUNNER=${wine_runner};EXE=$<TARGET_FILE:sysreport>;PROBE=$<TARGET_FILE:probe>;MEMBER_CHECK=$<TARGET_FILE:class_member_check>;STUB_NETAPI32=$<TARGET_FILE:stub_netapi32>")
endforeach()
