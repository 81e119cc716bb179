@echo off
rem Registers Kolorit and Vellum for the current user, which needs no
rem administrator rights, or for every user of the machine with /machine
rem (from an administrator's command prompt). On 64-bit Windows both builds
rem are registered, so that 64-bit and 32-bit programs each find their own.
rem     register.cmd [/machine]
setlocal
set "scope=/n /i:user"
if /i "%~1"=="/machine" (set "scope=") else if not "%~1"=="" (
    echo usage: register.cmd [/machine]
    exit /b 2
)
set "here=%~dp0"
set "failed="
rem A 32-bit prompt on 64-bit Windows reaches the 64-bit system folder as Sysnative.
set "system64=%SystemRoot%\System32"
if defined PROCESSOR_ARCHITEW6432 set "system64=%SystemRoot%\Sysnative"

if exist "%SystemRoot%\SysWOW64\" (
    call :register "%system64%\regsvr32.exe" x64
    call :register "%SystemRoot%\SysWOW64\regsvr32.exe" x86
) else (
    call :register "%SystemRoot%\System32\regsvr32.exe" x86
)
if defined failed exit /b 1
echo Kolorit is registered.
exit /b 0

rem Vellum first: Kolorit's type library refers to Vellum's.
:register
for %%d in (vellum kolorit) do (
    "%~1" /s %scope% "%here%%~2\%%d.dll"
    if errorlevel 1 (
        echo Registering %~2\%%d.dll failed.
        set "failed=1"
    )
)
exit /b 0
