#include "install_window.h"

#include "install_location.h"
#include "windows_version.h"

#include "common/command_runner.h"
#include "common/install_time.h"
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"

#include <shellapi.h>

namespace {

constexpr UINT_PTR kPercentTimer = 10;
constexpr UINT kPercentPeriodMs = 50;

const wchar_t kRefusalText[] = L"非常抱歉，当前版本不支持Windows XP系统！请使用win7及以上系统";
const wchar_t kRefusalTitle[] = L"提示框";

HELE FindElement(const wchar_t* idName)
{
    return XC_GetObjectByID(g_hWindow, XC_GetResIDValue(idName));
}

void ShowPages(HELE first, HELE second, HELE third, int shown)
{
    XEle_ShowEle(first, shown == 1);
    XEle_ShowEle(second, shown == 2);
    XEle_ShowEle(third, shown == 3);
}

// Opens the new shortcut, which starts the installed product with "-a a" in
// its own folder.
void LaunchThroughShortcut(const std::wstring& shortcut)
{
    // An empty path would make the shell open the current folder instead.
    if (shortcut.empty())
        return;
    SHELLEXECUTEINFOW launch = {};
    static_assert(sizeof(void*) != 4 || sizeof launch == 60, "the 32-bit layout");
    launch.cbSize = sizeof launch;
    launch.fMask = SEE_MASK_NOCLOSEPROCESS;
    launch.lpVerb = L"open";
    launch.lpFile = shortcut.c_str();
    launch.lpParameters = L"-a a";
    launch.nShow = SW_SHOW;
    if (ShellExecuteExW(&launch) && launch.hProcess != nullptr)
        CloseHandle(launch.hProcess);
}

}  // namespace

void CInstall::InitWindow()
{
    KillProcessByName("Morvane.exe");
    if (IsWindowsXP()) {
        int answer = MessageBoxW(nullptr, kRefusalText, kRefusalTitle, 0);
        if (answer == IDOK || answer == IDCANCEL)
            return;
    }
    SkinPaths paths = BuildSkinPaths(GetProgramFolder(), "InstallSkin", "ClickInstall.xml");
    if (!LoadSkinWindow(paths))
        return;
    InitElements();
    KIT_BIND_WND(g_hWindow, kTimerTickMessage, &CInstall::OnTimeBegin);
    ShowProgramWindow(L"安装程序");
}

void CInstall::InitElements()
{
    m_hBtnQuickInstall = FindElement(L"ID_BtnQuickInstall");
    KIT_BIND_ELE(m_hBtnQuickInstall, XE_BNCLICK, &CInstall::OnBtnClick);
    m_hBtnCekAccept = FindElement(L"ID_BtnCekAccept");
    KIT_BIND_ELE(m_hBtnCekAccept, XE_BUTTON_CHECK, &CInstall::OnBtnCekClick);
    m_hUserInstall = FindElement(L"ID_UserInstall");
    KIT_BIND_ELE(m_hUserInstall, XE_BNCLICK, &CInstall::OnBtnClick);
    m_hBtnChangeRoute = FindElement(L"ID_BtnChangeRoute");
    KIT_BIND_ELE(m_hBtnChangeRoute, XE_BNCLICK, &CInstall::OnBtnClick);
    m_hBtnQuickStat = FindElement(L"ID_BtnQuickStat");
    KIT_BIND_ELE(m_hBtnQuickStat, XE_BUTTON_CHECK, &CInstall::OnBtnCekClick);
    m_hBtnQuick2 = FindElement(L"ID_BtnQuick2");
    KIT_BIND_ELE(m_hBtnQuick2, XE_BNCLICK, &CInstall::OnBtnClick);
    m_hBtnTryRightnow = FindElement(L"ID_BtnTryRightnow");
    KIT_BIND_ELE(m_hBtnTryRightnow, XE_BNCLICK, &CInstall::OnBtnClick);

    m_hEleFirstPage = FindElement(L"ID_EleFirstPage");
    m_hElePage2 = FindElement(L"ID_ElePage2");
    m_hElePage3 = FindElement(L"ID_ElePage3");
    m_hEleTextPercentContent = FindElement(L"ID_EleTextPercentContent");

    m_hEditRoute = FindElement(L"ID_EditRoute");
    XRichEdit_SetText(m_hEditRoute, m_strRoute.c_str());
    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(m_hEditRoute, TRUE);
    KIT_BIND_ELE(m_hEditRoute, XE_RICHEDIT_CHANGE, &CInstall::OnRichEditChange);

    m_hTextPercent = FindElement(L"ID_TextPercent");
    m_hTextLeave = FindElement(L"ID_TextLeave");
    // At start the space shown is drive C:'s, whatever the route.
    XShapeText_SetText(m_hTextLeave, FormatFreeSpace(L"C:").c_str());
    m_hTextLocation = FindElement(L"ID_TextLocation");
}

int CInstall::OnBtnClick(HELE hEle, BOOL* pbHandled)
{
    if (hEle == m_hUserInstall) {
        ShowPages(m_hEleFirstPage, m_hElePage2, m_hElePage3, 2);
    } else if (hEle == m_hBtnQuickInstall || hEle == m_hBtnQuick2) {
        ShowPages(m_hEleFirstPage, m_hElePage2, m_hElePage3, 3);
        // The record goes into the folder the copy reads: it must be complete
        // before the copy starts, or the installed product may lack it.
        WriteInstallTime();
        StartInstallJob();
        SetTimer(XWnd_GetHWND(g_hWindow), kPercentTimer, kPercentPeriodMs, ForwardTimerTick);
    } else if (hEle == m_hBtnChangeRoute) {
        if (!PickRouteInDialog())
            return 0;
    } else if (hEle == m_hBtnTryRightnow) {
        LaunchThroughShortcut(CreateDesktopShortcut());
        XWnd_CloseWindow(g_hWindow);
        return 0;
    }
    XWnd_RedrawWnd(g_hWindow, FALSE);
    *pbHandled = TRUE;
    return 0;
}

int CInstall::OnBtnCekClick(HELE hEle, BOOL /*bCheck*/, BOOL* pbHandled)
{
    if (hEle == m_hBtnCekAccept) {
        BOOL accepted = XBtn_IsCheck(hEle);
        XEle_Enable(m_hBtnQuickInstall, accepted);
        XEle_Enable(m_hUserInstall, accepted);
    }
    XWnd_RedrawWnd(g_hWindow, FALSE);
    *pbHandled = TRUE;
    return 0;
}

int CInstall::OnTimeBegin(WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL* pbHandled)
{
    if (m_nPercent > 100) {
        XEle_ShowEle(m_hEleTextPercentContent, FALSE);
        XEle_ShowEle(m_hBtnTryRightnow, TRUE);
        KillTimer(XWnd_GetHWND(g_hWindow), kPercentTimer);
        m_nPercent = 1;
    } else {
        XShapeText_SetText(m_hTextPercent, (IntToWide(m_nPercent) + L"%").c_str());
        ++m_nPercent;
    }
    XWnd_RedrawWnd(g_hWindow, FALSE);
    *pbHandled = TRUE;
    return 0;
}
