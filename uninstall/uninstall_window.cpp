#include "uninstall_window.h"

#include "day_count.h"

#include "common/program_folder.h"
#include "common/window_frame.h"

namespace {

constexpr UINT_PTR kProgressTimer = 10;
constexpr UINT kProgressPeriodMs = 100;
constexpr int kProgressStart = 5;
constexpr int kProgressStep = 5;

HELE FindElement(const wchar_t* idName)
{
    return XC_GetObjectByID(g_hWindow, XC_GetResIDValue(idName));
}

}  // namespace

void CMainDlg::InitWindow()
{
    SkinPaths paths = BuildSkinPaths(GetProgramFolder(), "InstallSkin", "ClickUninstall.xml");
    if (!LoadSkinWindow(paths))
        return;
    InitElements();
    KIT_BIND_WND(g_hWindow, kTimerTickMessage, &CMainDlg::OnTimeBegin);
    // Without a record the day text keeps "很多".
    if (ReadRecordedInstallTime(m_nInstallTime)) {
        m_strDays = FormatDayCount(m_nInstallTime, CurrentTime32());
        XShapeText_SetText(m_hTextShowDay, m_strDays.c_str());
    }
    ShowProgramWindow(L"卸载程序");
}

int CMainDlg::InitElements()
{
    m_hBtnSayGoodbye = FindElement(L"ID_BtnSayGoodbye");
    KIT_BIND_ELE(m_hBtnSayGoodbye, XE_BNCLICK, &CMainDlg::OnBtnClick);
    m_hBtnGiveup = FindElement(L"ID_BtnGiveup");
    KIT_BIND_ELE(m_hBtnGiveup, XE_BNCLICK, &CMainDlg::OnBtnClick);
    m_hBtnGiveChance = FindElement(L"ID_BtnGiveChance");
    KIT_BIND_ELE(m_hBtnGiveChance, XE_BNCLICK, &CMainDlg::OnBtnClick);
    m_hBtnClose = FindElement(L"ID_BtnClose");
    KIT_BIND_ELE(m_hBtnClose, XE_BNCLICK, &CMainDlg::OnBtnClick);

    m_hCekChangeError = FindElement(L"ID_CekChangeError");
    KIT_BIND_ELE(m_hCekChangeError, XE_BUTTON_CHECK, &CMainDlg::OnCekClick);
    m_hCekRepeatMore = FindElement(L"ID_CekRepeatMore");
    KIT_BIND_ELE(m_hCekRepeatMore, XE_BUTTON_CHECK, &CMainDlg::OnCekClick);
    m_hCekUnchangedIP = FindElement(L"ID_CekUnchangedIP");
    KIT_BIND_ELE(m_hCekUnchangedIP, XE_BUTTON_CHECK, &CMainDlg::OnCekClick);

    m_hEditOtherReason = FindElement(L"ID_EditOtherReason");
    XRichEdit_SetDefaultText(m_hEditOtherReason, L"其他理由");
    XRichEdit_SetDefaultTextColor(m_hEditOtherReason, 0xDB8A4A, 255);
    XRichEdit_EnableMultiLine(m_hEditOtherReason, TRUE);
    XRichEdit_EnableAutoWrap(m_hEditOtherReason, TRUE);
    XSView_ShowSBarV(m_hEditOtherReason, FALSE);

    m_hEditConectedWay = FindElement(L"ID_EditConectedWay");
    XRichEdit_SetDefaultText(m_hEditConectedWay, L"QQ/手机/邮箱/我们会帮您解决问题");
    XRichEdit_SetDefaultTextColor(m_hEditConectedWay, 0xFDD698, 255);

    m_hEleUninstallPage1 = FindElement(L"ID_EleUninstallPage1");
    m_hEleUninstallPage2 = FindElement(L"ID_EleUninstallPage2");
    m_hEleUninstallPage3 = FindElement(L"ID_EleUninstallPage3");

    m_hUninstallProgress = FindElement(L"ID_UninstallProgress");
    XProgBar_SetPos(m_hUninstallProgress, kProgressStart);
    XProgBar_SetSpaceTwo(m_hUninstallProgress, 19, 19);
    XProgBar_SetRange(m_hUninstallProgress, 100);

    m_hTextShowDay = FindElement(L"ID_TextShowDay");
    XShapeText_SetText(m_hTextShowDay, m_strDays.c_str());
    return 0;
}

int CMainDlg::OnBtnClick(HELE hEle, BOOL* pbHandled)
{
    if (hEle == m_hBtnSayGoodbye) {
        RunUninstallScript();
        SendFeedback();
        XWnd_CloseWindow(g_hWindow);
    } else if (hEle == m_hBtnClose) {
        // Only the form page has gone far enough to remove anything.
        if (XEle_IsShow(m_hEleUninstallPage3))
            RunUninstallScript();
        XWnd_CloseWindow(g_hWindow);
    } else if (hEle == m_hBtnGiveup) {
        XEle_ShowEle(m_hEleUninstallPage1, FALSE);
        XEle_ShowEle(m_hEleUninstallPage2, TRUE);
        XWnd_RedrawWnd(g_hWindow, FALSE);
        SetTimer(XWnd_GetHWND(g_hWindow), kProgressTimer, kProgressPeriodMs, ForwardTimerTick);
    } else if (hEle == m_hBtnGiveChance) {
        XWnd_CloseWindow(g_hWindow);
    }
    *pbHandled = TRUE;
    return 0;
}

// The check boxes keep their own state; the form reads it when it is sent.
int CMainDlg::OnCekClick(HELE, BOOL, BOOL* pbHandled)
{
    *pbHandled = TRUE;
    return 0;
}

// One tick of the progress animation: 5, 10, ... 100, then the form page.
int CMainDlg::OnTimeBegin(WPARAM, LPARAM, BOOL* pbHandled)
{
    if (m_nProgress <= 100) {
        XProgBar_SetPos(m_hUninstallProgress, m_nProgress);
        m_nProgress += kProgressStep;
    } else {
        XEle_ShowEle(m_hEleUninstallPage2, FALSE);
        XEle_ShowEle(m_hEleUninstallPage3, TRUE);
        KillTimer(XWnd_GetHWND(g_hWindow), kProgressTimer);
        m_nProgress = kProgressStart;
    }
    XWnd_RedrawWnd(g_hWindow, FALSE);
    *pbHandled = TRUE;
    return 0;
}
