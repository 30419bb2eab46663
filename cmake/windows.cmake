# Windows build: the real program, sysreport.exe for 32-bit Windows or
# sysreport64.exe for x64, with MinGW-w64 (cross-compiled on Linux, tests under
# Wine) or with MSVC on Windows.
set(win_defs WINVER=0x0400 _WIN32_WINNT=0x0400)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(program sysreport64)
  # The first x64 Windows: XP x64 and Server 2003 x64.
  set(first_windows 5 2)
else()
  set(program sysreport)
  # The loaders of Windows 95 and NT 4.0.
  set(first_windows 4 0)
endif()
list(GET first_windows 0 major)
list(GET first_windows 1 minor)

if(MINGW)
  # msvcrt's own printf: MinGW's replacement would pull in more imports.
  list(APPEND win_defs __USE_MINGW_ANSI_STDIO=0)
  # Optimised for size: the program waits on Windows, not on its own code.
  # No compiler version string in every object's read-only data, and data
  # aligned as the ABI asks rather than every array of 32 bytes or more to 32.
  target_compile_options(sysreport_text PRIVATE -Os -fno-exceptions -fno-rtti -fno-ident -malign-data=abi)
  target_compile_options(sysreport_core PUBLIC -Os -fno-exceptions -fno-rtti -fno-ident -malign-data=abi)
  # Our own console start-up instead of MinGW's, which imports more than the
  # program needs (and, for 32 bits, comes prebuilt for the Pentium Pro). No
  # time stamp, so that two builds give the same bytes. A data import without
  # a declared import is a link error, not a run-time patch.
  set(start_source src/main/start.cpp)
  set(win_link_options
    -static -s -nostartfiles
    -Wl,--major-subsystem-version,${major},--minor-subsystem-version,${minor}
    -Wl,--major-os-version,${major},--minor-os-version,${minor}
    -Wl,--no-insert-timestamp -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
  set(i386_options "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Every processor that ran Windows 95: code for the 80386. No unwind
    # tables: nothing unwinds without exceptions.
    set(i386_options -march=i386 -mtune=i686 -fno-asynchronous-unwind-tables)
    target_compile_options(sysreport_text PRIVATE ${i386_options})
    target_compile_options(sysreport_core PRIVATE ${i386_options})
    list(APPEND win_link_options -Wl,-e,_sysreport_start)
  else()
    list(APPEND win_link_options -Wl,-e,sysreport_start)
  endif()
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 1252 -I ${CMAKE_SOURCE_DIR}/res")
else()
  # setargv.obj expands wildcards in arguments, as _dowildcard does for MinGW.
  # The resource file brings the manifest; the linker's own would be a second.
  set(start_source src/main/main.cpp)
  set(win_link_options setargv.obj /MANIFEST:NO)
  set_property(TARGET sysreport_core PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
endif()
target_compile_definitions(sysreport_core PUBLIC ${win_defs})
target_include_directories(sysreport_core PUBLIC src/win32)

add_executable(sysreport ${start_source} res/sysreport.rc)
set_target_properties(sysreport PROPERTIES OUTPUT_NAME ${program})
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

include(cmake/table.cmake)
include(cmake/package.cmake)
