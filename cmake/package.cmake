# The release package: sysreport-<version>-win32.zip with the program, the
# README and the licence, made by the "package" target. The texts are written
# as Notepad on Windows 95 to XP reads them.
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(package_texts ${package_dir}/README.txt ${package_dir}/LICENSE.txt)
add_custom_command(OUTPUT ${package_texts}
  COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/README.md -DOUT=${package_dir}/README.txt
    -P ${CMAKE_SOURCE_DIR}/cmake/windows-text.cmake
  COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/LICENSE.txt -DOUT=${package_dir}/LICENSE.txt
    -P ${CMAKE_SOURCE_DIR}/cmake/windows-text.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE.txt ${CMAKE_SOURCE_DIR}/cmake/windows-text.cmake)
add_custom_target(package_texts ALL DEPENDS ${package_texts})
install(TARGETS sysreport RUNTIME DESTINATION .)
install(FILES ${package_texts} DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME sysreport)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME sysreport-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_SOURCE_IGNORE_FILES /build/)
include(CPack)
