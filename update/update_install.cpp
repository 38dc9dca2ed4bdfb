// The button's steps after a download: install, download again, or run the
// new version; and the install animation.
#include "update_install.h"

#include "common/command_runner.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"
#include "update_window.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kInstallTimer = 1;
constexpr UINT kInstallTimerPeriodMs = 200;
constexpr int32_t kInstallStep = 5;

}  // namespace

std::string BuildXcopyCommand(const std::string& unpackFolder, const std::string& programFolder)
{
    return std::string("Xcopy ") + "\"" + unpackFolder + "\"" + "  " + "\"" + programFolder +
           "\"" + "  " + "/e /i /h /y";
}

int CUpdateMain::OnBtnInstallUpdate(BOOL* pbHandled)
{
    if (m_strStep == "download")
        InstallPackage();
    else if (m_strStep == "downloadzip")
        DownloadAgain();
    else if (m_strStep == "runnewvision")
        RunNewVersion();
    *pbHandled = TRUE;
    return 0;
}

void CUpdateMain::InstallPackage()
{
    std::wstring folder;
    AnsiToWide(m_strAppDir, folder);
    const std::wstring archive = folder + L"\\update.zip";
    const std::wstring unpackFolder = folder + L"\\skin";
    if (!UnzipPackage(unpackFolder, archive)) {
        XShapeText_SetText(m_hTextDownLoadShow, L"安装包加载失败，请重新下载....");
        XBtn_SetText(m_hBtnInstallUpdate, L"下载安装包");
        XEle_RedrawEle(m_hEleUpdateMain, FALSE);
        m_strStep = "downloadzip";
        return;
    }
    std::string skin;
    WideToAnsi(unpackFolder, skin);
    // Xcopy from the system folder, never a planted one beside the updater.
    // Its process is kept: "delskin.bat" removes "skin", so the new version
    // is offered only once the copy out of it has ended.
    if (m_hCopyProcess != nullptr)
        CloseHandle(m_hCopyProcess);
    m_hCopyProcess = StartCommand(BuildXcopyCommand(skin, m_strAppDir), L"xcopy.exe");
    XShapeText_SetText(m_hTextDownLoadShow, L"正在安装更新....");
    XBtn_SetText(m_hBtnInstallUpdate, L"安装更新中...");
    XProgBar_SetPos(m_hProgressBar, 0);
    XEle_RedrawEle(m_hEleUpdateMain, FALSE);
    SetTimer(XWnd_GetHWND(g_hWindow), kInstallTimer, kInstallTimerPeriodMs, ForwardTimerTick);
}

void CUpdateMain::DownloadAgain()
{
    ReadConfig();
    DownloadPackage(m_strDownloadPath);
}

void CUpdateMain::RunNewVersion()
{
    RunCommand("\"" + m_strAppDir + "\\delskin.bat" + "\"");
    RunCommand("delskin.bat");
    // By its full path in the program folder, so the new version starts
    // whatever the updater's own current folder is.
    std::wstring folder;
    AnsiToWide(m_strAppDir, folder);
    const std::wstring product = folder + L"\\Morvane.exe";
    ShellExecuteW(nullptr, L"open", product.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
    Sleep(100);
    XWnd_CloseWindow(g_hWindow);
}

bool CUpdateMain::CopyEnded()
{
    if (m_hCopyProcess != nullptr && WaitForSingleObject(m_hCopyProcess, 0) == WAIT_TIMEOUT)
        return false;
    if (m_hCopyProcess != nullptr)
        CloseHandle(m_hCopyProcess);
    m_hCopyProcess = nullptr;
    return true;
}

// A copy that outlasts the animation holds the bar at 100 until it ends.
int CUpdateMain::OnProgress(WPARAM, LPARAM, BOOL* pbHandled)
{
    const bool finished = m_nInstallPos >= 100 && CopyEnded();
    if (m_nInstallPos < 100)
        m_nInstallPos += kInstallStep;
    XProgBar_SetPos(m_hProgressBar, m_nInstallPos);
    XEle_RedrawEle(m_hProgressBar, FALSE);
    // The finish texts after the bar: setting the bar raises its change
    // event, which at 100 would put "下载完成！" over "安装完成".
    if (finished) {
        XShapeText_SetText(m_hTextDownLoadShow, L"安装完成");
        XBtn_SetText(m_hBtnInstallUpdate, L"运行新版本");
        XEle_RedrawEle(m_hEleUpdateMain, FALSE);
        m_strStep = "runnewvision";
        KillTimer(XWnd_GetHWND(g_hWindow), kInstallTimer);
    }
    *pbHandled = TRUE;
    return 0;
}
