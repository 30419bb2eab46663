@echo off
rem collect.cmd FOLDER [SWITCHES]: writes this computer's report, sysreport
rem with SWITCHES (-OSDU if none), to FOLDER\%COMPUTERNAME%.txt, and replaces
rem the report there only when the run ends with status 0. Exits with the
rem program's status, or 3 when FOLDER cannot be written or the program
rem cannot be started. Windows 2000 and later.
setlocal
set "folder=%~1"
set "switches=%~2"
if "%switches%"=="" set "switches=-OSDU"
set "program=%~dp0sysreport.exe"
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "program=%~dp0sysreport64.exe"
if /i "%PROCESSOR_ARCHITEW6432%"=="AMD64" set "program=%~dp0sysreport64.exe"
set "report=%folder%\%COMPUTERNAME%"
if "%folder%"=="" goto unwritable
if not exist "%program%" goto unstartable

rem The report goes to a file of its own first: a run that fails, or a share
rem that drops, leaves the previous report as it was.
copy /y nul "%report%.tmp" >nul 2>nul
if not exist "%report%.tmp" goto unwritable
"%program%" %switches% >"%report%.tmp"
set status=%errorlevel%
if not "%status%"=="0" goto failed
move /y "%report%.tmp" "%report%.txt" >nul 2>nul
if exist "%report%.tmp" goto unwritable
exit /b 0

:failed
del "%report%.tmp" 2>nul
exit /b %status%

:unwritable
del "%report%.tmp" 2>nul
echo collect: cannot write the report to the folder "%folder%">&2
exit /b 3

:unstartable
echo collect: cannot start "%program%">&2
exit /b 3
