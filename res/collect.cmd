@echo off
rem collect.cmd FOLDER [SWITCHES]: writes this computer's report, sysreport
rem with SWITCHES ("-" and one or more of D, O, S, U, H, N and P; -OSDUHNP
rem if none), to FOLDER\%COMPUTERNAME%.txt, and replaces the report there
rem only when the run ends with status 0 and the report is whole. Exits with
rem 1 and the usage, touching no file, on any other command line; with the
rem program's status 1 or 2; or with 3 when COMPUTERNAME is empty, no folder
rem can be made in %TEMP%, FOLDER cannot be written, the report is cut short
rem or cannot replace the last one, or the program cannot be started or ends
rem with another status.
rem Every ending but 0 that can write to FOLDER leaves its reason in
rem FOLDER\%COMPUTERNAME%.err; 0 removes it. Windows 2000 and later.
setlocal EnableExtensions DisableDelayedExpansion
set "folder=%~1"
set "switches=%~2"
if "%folder%"=="" goto usage
if not "%~3"=="" goto usage
if "%switches%"=="" set "switches=-OSDUHNP"
if not "%switches:~0,1%"=="-" goto usage
set "rest=%switches:~1%"
if "%rest%"=="" goto usage
rem Letter by letter: the switches reach the command line only when they hold
rem nothing else, and an argument without "-" would give a banner-only report.
:letter
set "letter=%rest:~0,1%"
set "rest=%rest:~1%"
for %%c in (D O S U H N P) do if "%letter%"=="%%c" goto checked
goto usage
:checked
if not "%rest%"=="" goto letter
if "%COMPUTERNAME%"=="" goto noname
set "program=%~dp0sysreport.exe"
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set "program=%~dp0sysreport64.exe"
if /i "%PROCESSOR_ARCHITEW6432%"=="AMD64" set "program=%~dp0sysreport64.exe"
set "report=%folder%\%COMPUTERNAME%"

rem A number of the run's own, claimed by creating the local folder that
rem holds the program's standard error: mkdir fails when the folder exists,
rem and cmd draws the same RANDOM numbers in runs started in the same second,
rem so of such runs of one account each takes the first number still free.
rem The report goes to FOLDER\NAME.<account>.<number>.tmp: the account tells
rem a startup script's run (the computer's) from a logon script's (the
rem user's), and the number the runs of one account. Standard error stays
rem local, so that the program's reason survives a full or lost share.
set code=3
set why=collect: cannot start "%program%"
if not exist "%program%" goto fail
set tries=0
:claim
set /a tries+=1
set "local="
set why=collect: cannot create a folder in "%TEMP%"
if %tries% gtr 20 goto fail
set "number=%RANDOM%"
set "part=%report%.%USERNAME%.%number%"
rem MD sets ERRORLEVEL 1 when it fails; VERIFY sets 0 before it.
verify >nul
mkdir "%TEMP%\collect.%number%" >nul 2>nul
if errorlevel 1 goto claim
set "local=%TEMP%\collect.%number%"
set "log=%local%\stderr.txt"
rem A run of the same account with another TEMP (a session of its own).
if exist "%part%.*" goto unclaim
set why=collect: cannot write the report to the folder "%folder%"
rem Seen by the file, not by ||: Wine's copy from nul fails as it creates it.
copy /y nul "%part%.tmp" >nul 2>nul
if not exist "%part%.tmp" goto fail
rem A redirection that fails runs nothing and sets no ERRORLEVEL: only || sees
rem it, and then no standard-error file exists.
"%program%" %switches% >"%part%.tmp" 2>"%log%" || goto failed
:ran
rem Only a whole report replaces the last one: a write lost when the share
rem closed the file may leave it without its last line, "Total time taken:
rem N ms", and status 0. Its first five words are compared without quotes,
rem which would end the quoted comparison early.
set "last=none"
for /f "usebackq tokens=1-5 delims= " %%a in ("%part%.tmp") do (
  set "last=%%a %%b %%c %%e"
)
set "last=%last:"=%"
set why=collect: the report is cut short: no "Total time taken" at its end
if not "%last%"=="Total time taken: ms" goto fail
rem A reader (the table program, a virus scan, an editor) may hold NAME.txt
rem for a moment: the move is tried 5 times, 2 seconds apart. PING waits, as
rem TIMEOUT does not exist before Vista and needs a console.
set tries=0
:move
set /a tries+=1
move /y "%part%.tmp" "%report%.txt" >nul 2>nul || goto unmoved
if not exist "%part%.tmp" goto moved
rem Wine's cmd takes || after every command: a program that ended with 0, or
rem a move that left the report in place of this run's file, goes on.
:unmoved
if exist "%report%.txt" if not exist "%part%.tmp" goto moved
set why=collect: cannot replace "%report%.txt"
if %tries% geq 5 goto fail
ping -n 3 127.0.0.1 >nul 2>nul
goto move
:moved
del "%log%" >nul 2>nul
rmdir "%local%" >nul 2>nul
del /f "%report%.err" >nul 2>nul
exit /b 0

:unclaim
rmdir "%local%" >nul 2>nul
goto claim
:failed
if not exist "%log%" goto fail
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
type "%log%" >&2
:end
rem The run's file goes before NAME.err is written: on a full share its room
rem takes the one line. A run that claimed no number has no file.
if not "%local%"=="" del "%part%.tmp" >nul 2>nul
call :note 2>nul
if "%local%"=="" exit /b %code%
del "%log%" >nul 2>nul
rmdir "%local%" >nul 2>nul
exit /b %code%

rem FOLDER\NAME.err: the time, the status and the reason, which is the
rem program's line on standard error where it wrote one.
:note
set "stamp=%DATE% %TIME% status %code%:"
echo %stamp% %why%>"%report%.err"
if "%local%"=="" goto :eof
if not exist "%log%" goto :eof
if "%code%"=="3" set stamp=%stamp% %why%:
for /f "usebackq delims=" %%l in ("%log%") do echo %stamp% %%l>"%report%.err"
goto :eof

:usage
echo usage: collect.cmd FOLDER [SWITCHES]>&2
echo SWITCHES: "-" and one or more of D O S U H N P; -OSDUHNP if none>&2
exit /b 1

:noname
echo collect: COMPUTERNAME is empty: no report written>&2
exit /b 3
