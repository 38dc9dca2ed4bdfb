#pragma once
// The frame every program of the kit runs in: toolkit start, one window built
// from a skin beside the program, events bound to member handlers, timer ticks
// forwarded to the window as message 2124, message loop, toolkit shut-down.
#include "toolkit/xcgui.h"

#include <string>

// The program's one toolkit window, from the layout load to the end.
extern HWINDOW g_hWindow;

// Timer ticks reach the window's bound handler as this message.
constexpr UINT kTimerTickMessage = 2124;

struct SkinPaths {
    std::wstring skinFolder;    // program folder + "//" + skin folder name
    std::wstring resourceFile;  // skin folder + "\" + "resource.xml"
    std::wstring layoutFile;    // skin folder + "\" + layout file name
};
SkinPaths BuildSkinPaths(const std::string& programFolder, const std::string& skinFolderName,
                         const std::string& layoutFileName);

// Loads the resource file and the layout into g_hWindow; false when the
// layout did not load (the program then shows nothing).
bool LoadSkinWindow(const SkinPaths& paths);

// Layout, native title (wide call, so it reads right on every system
// language) and SW_SHOW.
void ShowProgramWindow(const wchar_t* title);

// System timer procedure: sends message 2124 to the window, so the bound
// handler runs before the tick returns.
void CALLBACK ForwardTimerTick(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// Binding: create the binder, ask the toolkit, register or destroy it.
template <class T, class Fn>
void BindElementEvent(HELE element, int eventCode, T* target, Fn handler, const char* name)
{
    auto* binder = new CEventEle<Fn>(eventCode, target, handler, name);
    if (!XEle_RegEventTest(eventCode, binder->m_paramDesc) || !XEle_RegEventEx(element, binder))
        binder->Release();
}

template <class T>
void BindWindowEvent(HWINDOW window, int message, T* target,
                     int (T::*handler)(WPARAM, LPARAM, BOOL*), const char* name)
{
    auto* binder = new CEventWnd<T>(message, target, handler, name);
    if (!XWnd_RegEventTest(message, binder->m_paramDesc) || !XWnd_RegEventEx(window, binder))
        binder->Release();
}

// One line per binding; the handler's text is its registered name,
// for instance "&CInstall::OnBtnClick".
#define KIT_BIND_ELE(element, code, handler) BindElementEvent(element, code, this, handler, #handler)
#define KIT_BIND_WND(window, message, handler) BindWindowEvent(window, message, this, handler, #handler)

// Entry sequence shared by the three programs.
template <class Program>
int RunProgram()
{
    XInitXCGUI(0);
    Program program;
    program.InitWindow();
    XRunXCGUI();
    XExitXCGUI();
    return 0;
}
