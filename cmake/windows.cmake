# Windows build: the real sysreport.exe, with MinGW-w64 (cross-compiled on
# Linux, tests under Wine) or with MSVC on Windows.
set(win_defs WINVER=0x0400 _WIN32_WINNT=0x0400)
if(MINGW)
  # msvcrt's own printf: MinGW's replacement would pull in more imports.
  list(APPEND win_defs __USE_MINGW_ANSI_STDIO=0)
  # Optimised for size: the program waits on Windows, not on its own code.
  target_compile_options(sysreport_text PRIVATE -Os)
  target_compile_options(sysreport_core PUBLIC -Os -fno-exceptions -fno-rtti)
  # Windows 95 and NT 4.0 loaders want subsystem and OS version 4.0; no time
  # stamp so that two builds give the same bytes.
  set(win_link_options
    -static
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,--major-os-version,4,--minor-os-version,0
    -Wl,--no-insert-timestamp)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 1252 -I ${CMAKE_SOURCE_DIR}/res")
else()
  # setargv.obj expands wildcards in arguments, as _dowildcard does for MinGW.
  # The resource file brings the manifest; the linker's own would be a second.
  set(win_link_options setargv.obj /MANIFEST:NO)
  set_property(TARGET sysreport_core PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
endif()
target_compile_definitions(sysreport_core PUBLIC ${win_defs})
target_include_directories(sysreport_core PUBLIC src/win32)

set(start_source src/main/main.cpp)
set(i386_options "")
if(MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Every processor that ran Windows 95: our code for the 80386, and our own
  # start-up instead of MinGW's prebuilt one, which needs a Pentium Pro. No
  # unwind tables (nothing unwinds without exceptions) and a stripped file keep
  # the program small. A data import without a declared import is a link
  # error, not a run-time patch.
  set(i386_options -march=i386 -mtune=i686 -fno-asynchronous-unwind-tables)
  target_compile_options(sysreport_text PRIVATE ${i386_options})
  target_compile_options(sysreport_core PRIVATE ${i386_options})
  set(start_source src/main/start.cpp)
  list(APPEND win_link_options -s -nostartfiles -Wl,-e,_sysreport_start
    -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
endif()

add_executable(sysreport ${start_source} res/sysreport.rc)
# The dependency scan of the resource file sees its #includes only, not the
# files that its resources name.
set_source_files_properties(res/sysreport.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/sysreport.manifest;${CMAKE_SOURCE_DIR}/res/sysreport.ico")
if(MSVC)
  set_property(TARGET sysreport PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
endif()
target_link_libraries(sysreport PRIVATE sysreport_core)
target_compile_options(sysreport PRIVATE ${warnings} ${i386_options})
target_link_options(sysreport PRIVATE ${win_link_options})

include(cmake/package.cmake)
