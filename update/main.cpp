// update.exe: fetches, unpacks and installs a new version of the product.
#include "common/window_frame.h"
#include "update_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunProgram<CUpdateMain>();
}
