@echo off
rem Removes the registration register.cmd made: the current user's, or with
rem /machine the machine-wide one (from an administrator's command prompt).
rem     unregister.cmd [/machine]
setlocal
set "scope=/n /i:user"
if /i "%~1"=="/machine" (set "scope=") else if not "%~1"=="" (
    echo usage: unregister.cmd [/machine]
    exit /b 2
)
set "here=%~dp0"
set "failed="
set "system64=%SystemRoot%\System32"
if defined PROCESSOR_ARCHITEW6432 set "system64=%SystemRoot%\Sysnative"

if exist "%SystemRoot%\SysWOW64\" (
    call :unregister "%system64%\regsvr32.exe" x64
    call :unregister "%SystemRoot%\SysWOW64\regsvr32.exe" x86
) else (
    call :unregister "%SystemRoot%\System32\regsvr32.exe" x86
)
if defined failed exit /b 1
echo Kolorit is unregistered.
exit /b 0

rem Kolorit first, the reverse of registering.
:unregister
for %%d in (kolorit vellum) do (
    "%~1" /s /u %scope% "%here%%~2\%%d.dll"
    if errorlevel 1 (
        echo Unregistering %~2\%%d.dll failed.
        set "failed=1"
    )
)
exit /b 0
