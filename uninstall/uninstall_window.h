#pragma once
// The uninstaller's one window: page 1 shows how long the product has been
// installed and offers to keep it or go on, page 2 plays a short progress
// animation, page 3 asks why the user leaves and starts the removal.
#include "toolkit/xcgui.h"

#include <cstdint>
#include <string>

class CMainDlg {
public:
    void InitWindow();

    int OnBtnClick(HELE hEle, BOOL* pbHandled);
    int OnCekClick(HELE hEle, BOOL bCheck, BOOL* pbHandled);
    int OnTimeBegin(WPARAM wParam, LPARAM lParam, BOOL* pbHandled);

private:
    int InitElements();
    int RunUninstallScript();  // uninstall_job.cpp
    void SendFeedback();       // feedback_form.cpp

    int m_nProgress = 5;          // position the bar takes at the next tick
    std::wstring m_strDays = L"很多";
    int32_t m_nInstallTime = 0;   // set from the record, when there is one
    HELE m_hBtnSayGoodbye = nullptr;
    HELE m_hBtnGiveup = nullptr;
    HELE m_hBtnGiveChance = nullptr;
    HELE m_hBtnClose = nullptr;
    HELE m_hCekChangeError = nullptr;
    HELE m_hCekRepeatMore = nullptr;
    HELE m_hCekUnchangedIP = nullptr;
    HELE m_hEditOtherReason = nullptr;
    HELE m_hEditConectedWay = nullptr;
    HELE m_hEleUninstallPage1 = nullptr;
    HELE m_hEleUninstallPage2 = nullptr;
    HELE m_hEleUninstallPage3 = nullptr;
    HELE m_hUninstallProgress = nullptr;
    HELE m_hTextShowDay = nullptr;
};
