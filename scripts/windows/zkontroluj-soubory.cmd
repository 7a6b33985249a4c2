@echo off
rem Kontrola vice datovych souboru ORV najednou: soubory (nebo slozky)
rem pretazene mysi na tento soubor zkontroluje quelt-davka.exe, ktery lezi
rem vedle nej. Kazdy soubor je samostatna kontrola. Protokoly a souhrn
rem (souhrn.htm, souhrn.csv) jdou do slozky kontrola-ORV ve slozce prvniho
rem pretazeneho souboru. Okno ceka na Enter.
setlocal DisableDelayedExpansion
if "%~1"=="" goto navod
set "VYSLEDKY=%~dp1kontrola-ORV"
rem Slozku s vysledky vypise quelt-davka.exe sam, a jen kdyz do ni souhrn
rem zapsal: skonci-li drive, okno neukazuje vysledky nektere drivejsi kontroly.
"%~dp0quelt-davka.exe" -o "%VYSLEDKY%" %*
set "STAV=%ERRORLEVEL%"
echo.
pause
exit /b %STAV%

:navod
echo Pretahnete datove soubory ORV (nebo slozky s nimi) mysi na tento soubor.
echo Protokoly a souhrn pak budou ve slozce kontrola-ORV vedle prvniho souboru.
echo.
pause
exit /b 1
