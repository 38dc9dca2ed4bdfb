#include "window_frame.h"

#include "text_conversion.h"

HWINDOW g_hWindow = nullptr;

SkinPaths BuildSkinPaths(const std::string& programFolder, const std::string& skinFolderName,
                         const std::string& layoutFileName)
{
    std::string skinFolder = programFolder + "//" + skinFolderName;
    SkinPaths paths;
    AnsiToWide(skinFolder, paths.skinFolder);
    AnsiToWide(skinFolder + "\\" + "resource.xml", paths.resourceFile);
    AnsiToWide(skinFolder + "\\" + layoutFileName, paths.layoutFile);
    return paths;
}

bool LoadSkinWindow(const SkinPaths& paths)
{
    XC_LoadResource(paths.resourceFile.c_str(), paths.skinFolder.c_str());
    g_hWindow = XC_LoadLayout(paths.layoutFile.c_str(), nullptr);
    return g_hWindow != nullptr;
}

void ShowProgramWindow(const wchar_t* title)
{
    XWnd_AdjustLayout(g_hWindow);
    XWnd_AdjustLayoutObject(g_hWindow);
    SetWindowTextW(XWnd_GetHWND(g_hWindow), title);
    XWnd_ShowWindow(g_hWindow, SW_SHOW);
}

void CALLBACK ForwardTimerTick(HWND, UINT, UINT_PTR, DWORD)
{
    SendMessageW(XWnd_GetHWND(g_hWindow), kTimerTickMessage, 0, 0);
}
