// The least a window program does before its first painted window: register
// a class, create and show one window, paint it once, run the message loop.
// Its start-up, recorded like the kit's programs, is Wine's own share.
#include "toolkit/window/first_paint_mark.h"

#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(window, &paint);
        kit::MarkFirstPaint(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        kit::ForgetFirstPaint(window);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"StartupBaseline";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"StartupBaseline", L"baseline", WS_POPUP, 100, 100, 520, 340,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
