# Windows build: the real sysreport.exe, with MinGW-w64 (cross-compiled on
# Linux, tests under Wine) or with MSVC on Windows.
set(win_defs WINVER=0x0400 _WIN32_WINNT=0x0400)
if(MINGW)
  # msvcrt's own printf: MinGW's replacement would pull in more imports.
  list(APPEND win_defs __USE_MINGW_ANSI_STDIO=0)
  target_compile_options(sysreport_core PUBLIC -fno-exceptions -fno-rtti)
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
  set(win_link_options setargv.obj)
  set_property(TARGET sysreport_core PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
endif()
target_compile_definitions(sysreport_core PUBLIC ${win_defs})
target_include_directories(sysreport_core PUBLIC src/win32)

add_executable(sysreport src/main/main.cpp res/sysreport.rc)
if(MSVC)
  set_property(TARGET sysreport PROPERTY MSVC_RUNTIME_LIBRARY MultiThreaded)
endif()
target_link_libraries(sysreport PRIVATE sysreport_core)
target_compile_options(sysreport PRIVATE ${warnings})
target_link_options(sysreport PRIVATE ${win_link_options})

include(cmake/package.cmake)
