# The release package: sysreport-<version>-win32.zip with both programs, the
# table program sysreport-table.exe, collect.cmd, the administrator's README
# and the licence, made by the "package" target of the 32-bit build, which
# builds the x64 program in x64/ beside it. The texts are written as Notepad on
# Windows 95 to XP reads them, in every build tree: the tests run collect.cmd as it ships.
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(package_texts ${package_dir}/README.txt ${package_dir}/LICENSE.txt ${package_dir}/collect.cmd)
set(text_sources doc/README.txt LICENSE.txt res/collect.cmd)
set(convert_commands "")
foreach(source text IN ZIP_LISTS text_sources package_texts)
  list(APPEND convert_commands COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/${source} -DOUT=${text}
    -P ${CMAKE_SOURCE_DIR}/cmake/windows-text.cmake)
  list(APPEND convert_depends ${CMAKE_SOURCE_DIR}/${source})
endforeach()
add_custom_command(OUTPUT ${package_texts} ${convert_commands}
  DEPENDS ${convert_depends} ${CMAKE_SOURCE_DIR}/cmake/windows-text.cmake)
add_custom_target(package_texts ALL DEPENDS ${package_texts})
if(MINGW AND program STREQUAL sysreport64)
  return()
endif()
if(MINGW)
  include(ExternalProject)
  set(program64 ${CMAKE_BINARY_DIR}/x64/sysreport64.exe)
  ExternalProject_Add(sysreport64
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/x64
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-x86_64.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DSYSREPORT_WERROR=${SYSREPORT_WERROR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target sysreport
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${program64}
    INSTALL_COMMAND "")
  install(PROGRAMS ${program64} DESTINATION .)
endif()
install(TARGETS sysreport sysreport-table RUNTIME DESTINATION .)
install(FILES ${package_texts} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME sysreport)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME sysreport-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_SOURCE_IGNORE_FILES /build/)
include(CPack)
