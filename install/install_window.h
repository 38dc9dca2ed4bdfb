#pragma once
// The installer's one window: a first page with quick and custom install
// behind an accept box, a custom page with the install route, and a progress
// page whose last button starts the product.
#include "toolkit/xcgui.h"

#include <string>

constexpr wchar_t kDefaultRoute[] = L"C:\\Program Files (x86)";

class CInstall {
public:
    void InitWindow();

    int OnBtnClick(HELE hEle, BOOL* pbHandled);
    int OnBtnCekClick(HELE hEle, BOOL bCheck, BOOL* pbHandled);
    int OnRichEditChange(BOOL* pbHandled);
    int OnTimeBegin(WPARAM wParam, LPARAM lParam, BOOL* pbHandled);

private:
    void InitElements();
    void StartInstallJob();                // install_job.cpp
    std::wstring CreateDesktopShortcut();  // desktop_shortcut.cpp
    std::wstring ReadRouteBox();           // install_location.cpp
    void ShowDriveInfo(const std::wstring& route);
    bool PickRouteInDialog();              // false when the user cancelled

    int m_nPercent = 1;  // next percentage the progress timer shows
    std::wstring m_strRoute = kDefaultRoute;
    HELE m_hBtnQuickInstall = nullptr;
    HELE m_hBtnCekAccept = nullptr;
    HELE m_hUserInstall = nullptr;
    HELE m_hBtnQuick2 = nullptr;
    HELE m_hBtnQuickStat = nullptr;
    HELE m_hBtnChangeRoute = nullptr;
    HELE m_hBtnTryRightnow = nullptr;
    HELE m_hEleFirstPage = nullptr;
    HELE m_hElePage2 = nullptr;
    HELE m_hElePage3 = nullptr;
    HELE m_hEleTextPercentContent = nullptr;
    HELE m_hEditRoute = nullptr;
    HELE m_hTextPercent = nullptr;
    HELE m_hTextLeave = nullptr;
    HELE m_hTextLocation = nullptr;
};
