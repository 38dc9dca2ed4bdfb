#include "uninstall_window.h"

#include "common/window_frame.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunProgram<CMainDlg>();
}
