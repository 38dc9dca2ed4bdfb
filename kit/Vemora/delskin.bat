@echo off
rem Run by the updater after it has copied a new version over this folder:
rem removes what the update left here, the staging folder "skin" and the
rem downloaded "update.zip". It may run twice at once, so each step is
rem harmless when the other run has already done it.
setlocal
set "product=%~dp0"
if exist "%product%skin\" rd /s /q "%product%skin"
if exist "%product%update.zip" del /f /q "%product%update.zip"
endlocal
