// A window program on the toolkit and the shared frame, for tests that drive
// it from another process and for the screenshots: every element kind of the
// test skin, a click/check/typing log in ID_TextStatus, and a quick install
// that fills the bar on a timer and turns to the second page.
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT_PTR kProgressTimer = 7;
constexpr UINT kProgressPeriodMs = 40;

class CToolkitDemo {
public:
    void InitWindow()
    {
        const SkinPaths paths = BuildSkinPaths(GetProgramFolder(), "toolkit_skin", "demo.xml");
        if (!LoadSkinWindow(paths))
            return;
        KIT_BIND_WND(g_hWindow, kTimerTickMessage, &CToolkitDemo::OnTimeBegin);
        InitElements();
        ShowProgramWindow(L"工具包演示");
    }

    int OnBtnClick(HELE element, BOOL* pbHandled)
    {
        if (element == m_hBtnQuickInstall) {
            SetTimer(XWnd_GetHWND(g_hWindow), kProgressTimer, kProgressPeriodMs, ForwardTimerTick);
        } else if (element == m_hBtnTryRightnow) {
            XWnd_CloseWindow(g_hWindow);
            *pbHandled = TRUE;
            return 0;
        }
        XShapeText_SetText(m_hTextStatus, (L"点击：" + CaptionOf(element)).c_str());
        *pbHandled = TRUE;
        return 0;
    }

    int OnCekClick(HELE element, BOOL bCheck, BOOL* pbHandled)
    {
        if (element == m_hBtnCekAccept) {
            XEle_Enable(m_hBtnQuickInstall, bCheck);
            XEle_Enable(m_hBtnCustom, bCheck);
        }
        XShapeText_SetText(m_hTextStatus, bCheck ? L"勾选：1" : L"勾选：0");
        *pbHandled = TRUE;
        return 0;
    }

    int OnRichEditChange(BOOL* pbHandled)
    {
        wchar_t route[64] = {};
        XRichEdit_GetText(m_hEditRoute, route, 64);
        XShapeText_SetText(m_hTextStatus, (std::wstring(L"输入：") + route).c_str());
        *pbHandled = TRUE;
        return 0;
    }

    int OnProgressBarChange(int position, BOOL* pbHandled)
    {
        XShapeText_SetText(m_hTextProgress, (IntToWide(position) + L"%").c_str());
        *pbHandled = TRUE;
        return 0;
    }

    int OnTimeBegin(WPARAM, LPARAM, BOOL* pbHandled)
    {
        if (m_nProgress >= 100) {
            KillTimer(XWnd_GetHWND(g_hWindow), kProgressTimer);
            XEle_ShowEle(m_hEleFirstPage, FALSE);
            XEle_ShowEle(m_hElePage2, TRUE);
        } else {
            m_nProgress += 4;
            XProgBar_SetPos(m_hProgressBar, m_nProgress);
        }
        XWnd_RedrawWnd(g_hWindow, FALSE);
        *pbHandled = TRUE;
        return 0;
    }

private:
    HELE Find(const wchar_t* idName) { return XC_GetObjectByID(g_hWindow, XC_GetResIDValue(idName)); }

    std::wstring CaptionOf(HELE element) const
    {
        for (const auto& known : m_buttons)
            if (known.first == element)
                return known.second;
        return L"?";
    }

    void InitElements()
    {
        m_hBtnQuickInstall = Find(L"ID_BtnQuickInstall");
        m_hBtnCustom = Find(L"ID_BtnCustom");
        m_hBtnTryRightnow = Find(L"ID_BtnTryRightnow");
        m_buttons = {{m_hBtnQuickInstall, L"快速安装"}, {m_hBtnCustom, L"自定义安装"},
                     {Find(L"ID_BtnChangeRoute"), L"更改目录"}, {Find(L"ID_BtnDisabled"), L"稍后提醒"},
                     {Find(L"ID_BtnHidden"), L"隐藏的按钮"}, {m_hBtnTryRightnow, L"立即体验"}};
        for (const auto& button : m_buttons)
            KIT_BIND_ELE(button.first, XE_BNCLICK, &CToolkitDemo::OnBtnClick);
        m_hBtnCekAccept = Find(L"ID_BtnCekAccept");
        KIT_BIND_ELE(m_hBtnCekAccept, XE_BUTTON_CHECK, &CToolkitDemo::OnCekClick);
        KIT_BIND_ELE(Find(L"ID_CekDisabled"), XE_BUTTON_CHECK, &CToolkitDemo::OnCekClick);

        m_hEditRoute = Find(L"ID_EditRoute");
        XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(m_hEditRoute, TRUE);
        KIT_BIND_ELE(m_hEditRoute, XE_RICHEDIT_CHANGE, &CToolkitDemo::OnRichEditChange);

        m_hProgressBar = Find(L"ID_ProgressBar");
        KIT_BIND_ELE(m_hProgressBar, XE_PROGRESSBAR_CHANGE, &CToolkitDemo::OnProgressBarChange);
        XProgBar_SetRange(m_hProgressBar, 100);
        XProgBar_SetPos(m_hProgressBar, m_nProgress);

        m_hTextStatus = Find(L"ID_TextStatus");
        m_hTextProgress = Find(L"ID_TextProgress");
        m_hEleFirstPage = Find(L"ID_EleFirstPage");
        m_hElePage2 = Find(L"ID_ElePage2");
    }

    int m_nProgress = 40;
    std::vector<std::pair<HELE, std::wstring>> m_buttons;
    HELE m_hBtnQuickInstall = nullptr;
    HELE m_hBtnCustom = nullptr;
    HELE m_hBtnTryRightnow = nullptr;
    HELE m_hBtnCekAccept = nullptr;
    HELE m_hEditRoute = nullptr;
    HELE m_hProgressBar = nullptr;
    HELE m_hTextStatus = nullptr;
    HELE m_hTextProgress = nullptr;
    HELE m_hEleFirstPage = nullptr;
    HELE m_hElePage2 = nullptr;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunProgram<CToolkitDemo>();
}
