# Host build: the report code over the simulated Windows layer, with GoogleTest.
file(GLOB sim_sources CONFIGURE_DEPENDS tests/sim/*.cpp)
add_library(simwin STATIC ${sim_sources})
target_include_directories(simwin PUBLIC tests/sim src)
target_compile_options(simwin PRIVATE ${warnings})
target_include_directories(sysreport_core PUBLIC tests/sim)
target_link_libraries(sysreport_core PUBLIC simwin)
target_link_libraries(simwin PUBLIC sysreport_core)

find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB host_tests CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(host_tests ${host_tests})
target_link_libraries(host_tests PRIVATE sysreport_core simwin GTest::gtest GTest::gtest_main)
target_compile_options(host_tests PRIVATE ${warnings})
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60)

# The icon is drawn by a generator; the committed .ico must be what it draws.
add_executable(make_icon res/make_icon.cpp)
target_compile_options(make_icon PRIVATE ${warnings})
add_test(NAME icon_regenerates_identically
  COMMAND sh -c "\"$1\" \"$2\" && cmp \"$2\" \"$3\"" icon-test
          $<TARGET_FILE:make_icon> ${CMAKE_CURRENT_BINARY_DIR}/sysreport.ico ${CMAKE_SOURCE_DIR}/res/sysreport.ico)

if(SYSREPORT_FUZZ)
  include(cmake/fuzz.cmake)
endif()
