# The installer's pages, for scripts/screenshots.sh (sourced there; uses its
# helpers start_program, drive, shoot and close_program, and $build, $out).
# The installer runs from a copy of the build's kit and installs with the
# default route into the build's Wine prefix; both are cleaned up afterwards.
install_title="安装程序"

shoot_install() {
  local copy program_files had_program_files=""
  copy=$(mktemp -d)
  cp -r "$build/kit" "$copy/kit"
  program_files="$WINEPREFIX/drive_c/Program Files (x86)"
  [ -d "$program_files" ] && had_program_files=1

  start_program "$copy/kit/install.exe"
  drive wait "$install_title" 15000 >/dev/null
  shoot "$install_title" install-welcome.png

  drive click "$install_title" ID_BtnCekAccept >/dev/null
  drive waitfor "$install_title" ID_BtnQuickInstall enabled >/dev/null
  shoot "$install_title" install-accepted.png

  drive click "$install_title" ID_UserInstall >/dev/null
  drive waitfor "$install_title" ID_ElePage2 visible >/dev/null
  shoot "$install_title" install-custom.png

  drive click "$install_title" ID_BtnQuick2 >/dev/null
  drive waitfor "$install_title" ID_ElePage3 visible >/dev/null
  sleep 2  # about 40 %
  shoot "$install_title" install-progress.png

  drive waitfor "$install_title" ID_BtnTryRightnow visible 20000 >/dev/null
  shoot "$install_title" install-finished.png
  close_program "$install_title"

  # The copy may still be running: give it a moment before removing it.
  sleep 1
  rm -rf "$copy"
  if [ -n "$had_program_files" ]; then
    rm -rf "$program_files/Vemora"
  else
    rm -rf "$program_files"
  fi
}

SHOTS+=(shoot_install)
