// Building the updater's window and its first download.
#include "update_window.h"

#include "common/program_folder.h"
#include "common/window_frame.h"

namespace {

HELE FindElement(const wchar_t* idName)
{
    return XC_GetObjectByID(g_hWindow, XC_GetResIDValue(idName));
}

}  // namespace

void CUpdateMain::InitWindow()
{
    const std::string folder = GetProgramFolder();
    if (!LoadSkinWindow(BuildSkinPaths(folder, "mainSkin", "Update.xml")))
        return;
    KIT_BIND_WND(g_hWindow, kTimerTickMessage, &CUpdateMain::OnProgress);
    ReadConfig();
    InitElements();
    ShowProgramWindow(L"更新程序");
    // Blocks until the transfer has ended; the message loop starts after.
    DownloadPackage(m_strDownloadPath);
}

void CUpdateMain::InitElements()
{
    m_hProgressBar = FindElement(L"ID_ProgressBar");
    KIT_BIND_ELE(m_hProgressBar, XE_PROGRESSBAR_CHANGE, &CUpdateMain::OnProgressBarChange);
    XProgBar_SetPos(m_hProgressBar, 0);
    XProgBar_SetSpaceTwo(m_hProgressBar, 19, 19);
    XProgBar_SetRange(m_hProgressBar, 100);
    m_hTextDownLoadShow = FindElement(L"ID_TextDownLoadShow");
    m_hEleUpdateMain = FindElement(L"ID_EleUpdateMain");
    m_hBtnInstallUpdate = FindElement(L"ID_BtnInstallUpdate");
    KIT_BIND_ELE(m_hBtnInstallUpdate, XE_BNCLICK, &CUpdateMain::OnBtnInstallUpdate);
}
