// Fetching "update.zip" into the program folder.
#include "bind_status_callback.h"
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "update_window.h"

#include <wininet.h>

void CUpdateMain::DownloadPackage(std::string address)
{
    std::wstring url;
    AnsiToWide(address, url);
    m_strAppDir = GetProgramFolder();
    std::wstring target;
    AnsiToWide(m_strAppDir + "\\" + "update.zip", target);

    // A cached copy would be an old package.
    DeleteUrlCacheEntryW(url.c_str());
    CBindStatusBack callback(m_hProgressBar);
    // Where the transfer dispatches window messages while it runs, a click
    // meanwhile would unpack a half-written package or start a second
    // transfer into the same file: the button takes none, and shows it, until
    // the transfer has ended.
    XEle_Enable(m_hBtnInstallUpdate, FALSE);
    HRESULT result = URLDownloadToFileW(nullptr, url.c_str(), target.c_str(), 0, &callback);
    XEle_Enable(m_hBtnInstallUpdate, TRUE);
    // Only S_OK says the whole file is in place; S_FALSE and the like do not.
    if (result != S_OK)
        return;
    XShapeText_SetText(m_hTextDownLoadShow, L"等待安装...");
    XBtn_SetText(m_hBtnInstallUpdate, L"安装更新");
    XEle_RedrawEle(m_hEleUpdateMain, FALSE);
    m_strStep = "download";
}

int CUpdateMain::OnProgressBarChange(int position, BOOL* pbHandled)
{
    if (position == 100)
        XShapeText_SetText(m_hTextDownLoadShow, L"下载完成！");
    *pbHandled = TRUE;
    return 0;
}
