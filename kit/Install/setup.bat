@echo off
rem The kit's setup step, run hidden by the installer while the product is
rem copied. It only leaves a note of when it ran; the product sets itself up.
echo setup ran %DATE% %TIME%>>"%TEMP%\Morvane-setup.log"
exit /b 0
