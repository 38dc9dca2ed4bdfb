// Toolkit start, message loop and shut-down.
#include "core/toolkit_state.h"
#include "toolkit/xcgui.h"

using kit::Toolkit;

BOOL XInitXCGUI(int)
{
    return Toolkit::Get().Start() ? TRUE : FALSE;
}

void XRunXCGUI()
{
    // Returns at once when no window exists, else once the last one is gone.
    MSG msg;
    while (Toolkit::Get().Handles().WindowCount() > 0) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void XExitXCGUI()
{
    Toolkit::Get().Shutdown();
}
