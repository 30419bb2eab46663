@echo off
rem collect.cmd FOLDER [SWITCHES]: writes this computer's report, sysreport
rem with SWITCHES ("-" and one or more of D, O, S, U and H; -OSDU if none),
rem to FOLDER\%COMPUTERNAME%.txt, and replaces the report there only when the
rem run ends with status 0. Exits with 1 and the usage, touching no file, on
rem any other command line; with the program's status 1 or 2; or with 3 when
rem COMPUTERNAME is empty, FOLDER cannot be written, or the program cannot be
rem started or ends with another status. Every ending but 0 that can write to
rem FOLDER leaves its reason in FOLDER\%COMPUTERNAME%.err; 0 removes it.
rem Windows 2000 and later.
setlocal EnableExtensions DisableDelayedExpansion
set "folder=%~1"
set "switches=%~2"
if "%folder%"=="" goto usage
if not "%~3"=="" goto usage
if "%switches%"=="" set "switches=-OSDU"
if not "%switches:~0,1%"=="-" goto usage
set "rest=%switches:~1%"
if "%rest%"=="" goto usage
rem Letter by letter: the switches reach the command line only when they hold
rem nothing else, and an argument without "-" would give a banner-only report.
:letter
set "letter=%rest:~0,1%"
set "rest=%rest:~1%"
for %%c in (D O S U H) do if "%letter%"=="%%c" goto checked
goto usage
:checked
if not "%rest%"=="" goto letter
if "%COMPUTERNAME%"=="" goto noname
set "program=%~dp0sysreport.exe"
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "program=%~dp0sysreport64.exe"
if /i "%PROCESSOR_ARCHITEW6432%"=="AMD64" set "program=%~dp0sysreport64.exe"
set "report=%folder%\%COMPUTERNAME%"

rem The report and the program's standard error go to files of this run's own
rem (startup and logon scripts may overlap), moved or deleted by it alone.
rem cmd draws the same RANDOM numbers in runs started in the same second: the
rem account tells a startup script's run (the computer's) from a logon
rem script's (the user's).
:name
set "part=%report%.%USERNAME%.%RANDOM%"
if exist "%part%.*" goto name
set code=3
set why=collect: cannot start "%program%"
if not exist "%program%" goto fail
set why=collect: cannot write the report to the folder "%folder%"
rem Seen by the file, not by ||: Wine's copy from nul fails as it creates it.
copy /y nul "%part%.tmp" >nul 2>nul
if not exist "%part%.tmp" goto fail
rem A redirection that fails runs nothing and sets no ERRORLEVEL: only || sees
rem it, and then no standard-error file exists.
"%program%" %switches% >"%part%.tmp" 2>"%part%.log" || goto failed
:ran
set why=collect: cannot replace "%report%.txt"
move /y "%part%.tmp" "%report%.txt" >nul 2>nul || goto unmoved
if exist "%part%.tmp" goto fail
:moved
del "%part%.log" >nul 2>nul
del /f "%report%.err" >nul 2>nul
exit /b 0

rem Wine's cmd takes || after every command: a program that ended with 0, or
rem a move that left the report in place of this run's file, goes on.
:unmoved
if exist "%report%.txt" if not exist "%part%.tmp" goto moved
goto fail
:failed
if not exist "%part%.log" goto fail
if "%errorlevel%"=="0" goto ran
set code=%errorlevel%
rem Not "... status %code%": a digit before > would name a handle.
set why=collect: status %code% from "%program%"
if "%code%"=="1" goto said
if "%code%"=="2" goto said
set code=3
:fail
echo %why%>&2
goto end
:said
type "%part%.log" >&2
:end
del "%part%.tmp" >nul 2>nul
call :note 2>nul
del "%part%.log" >nul 2>nul
exit /b %code%

rem FOLDER\NAME.err: the time, the status and the reason, which is the
rem program's line on standard error where it wrote one.
:note
set "stamp=%DATE% %TIME% status %code%:"
echo %stamp% %why%>"%report%.err"
if not exist "%part%.log" goto :eof
if "%code%"=="3" set stamp=%stamp% %why%:
for /f "usebackq delims=" %%l in ("%part%.log") do echo %stamp% %%l>"%report%.err"
goto :eof

:usage
echo usage: collect.cmd FOLDER [SWITCHES]>&2
echo SWITCHES: "-" and one or more of D, O, S, U and H; -OSDU if none>&2
exit /b 1

:noname
echo collect: COMPUTERNAME is empty: no report written>&2
exit /b 3
