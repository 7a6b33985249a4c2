@echo off
rem Kontrola vice datovych souboru ORV najednou: soubory (nebo slozky)
rem pretazene mysi na tento soubor zkontroluje quelt-davka.exe, ktery lezi
rem vedle nej. Kazdy soubor je samostatna kontrola. Protokoly a souhrn
rem (souhrn.htm, souhrn.csv) jdou do slozky kontrola-ORV ve slozce prvniho
rem pretazeneho souboru. Okno ceka na Enter.
setlocal DisableDelayedExpansion
if "%~1"=="" goto navod
set "VYSLEDKY=%~dp1kontrola-ORV"
"%~dp0quelt-davka.exe" -o "%VYSLEDKY%" %*
set "STAV=%ERRORLEVEL%"
echo.
echo Protokoly a souhrn jsou ve slozce:
setlocal EnableDelayedExpansion
echo !VYSLEDKY!
endlocal
echo.
pause
exit /b %STAV%

:navod
echo Pretahnete datove soubory ORV (nebo slozky s nimi) mysi na tento soubor.
echo Protokoly a souhrn pak budou ve slozce kontrola-ORV vedle prvniho souboru.
echo.
pause
exit /b 1
