// Window calls. An unknown handle finds no window and the call does nothing.
#include "core/toolkit_state.h"
#include "toolkit/xcgui.h"
#include "window/window.h"

namespace {

kit::Window* Find(HWINDOW window) { return kit::Toolkit::Get().Handles().FindWindow(window); }

}  // namespace

HWND XWnd_GetHWND(HWINDOW window)
{
    kit::Window* w = Find(window);
    return w != nullptr ? w->Hwnd() : nullptr;
}

void XWnd_AdjustLayout(HWINDOW window)
{
    if (kit::Window* w = Find(window))
        w->Layout();
}

void XWnd_AdjustLayoutObject(HWINDOW window)
{
    // Boxes are placed by coordinates: placing the hosted controls again is all.
    if (kit::Window* w = Find(window))
        w->Layout();
}

BOOL XWnd_ShowWindow(HWINDOW window, int showCommand)
{
    kit::BusyScope busy;
    kit::Window* w = Find(window);
    return w != nullptr && w->Show(showCommand) ? TRUE : FALSE;
}

void XWnd_RedrawWnd(HWINDOW window, BOOL immediate)
{
    kit::BusyScope busy;
    if (kit::Window* w = Find(window)) {
        w->InvalidateAll();
        if (immediate)
            w->PaintNow();
    }
}

void XWnd_CloseWindow(HWINDOW window)
{
    kit::BusyScope busy;
    if (kit::Window* w = Find(window))
        w->Close();
}
