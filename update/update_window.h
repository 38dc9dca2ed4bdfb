#pragma once
// The updater's window: downloads "update.zip" from the address in
// "tallmere.cnf", unpacks it into "skin", copies that over the program
// folder and starts the new "Morvane.exe", one button click at a time.
#include "archive/archive_reader.h"
#include "toolkit/xcgui.h"

#include <cstdint>
#include <string>

class CUpdateMain {
public:
    CUpdateMain() = default;
    // Inline: the archive layer builds this class's unpacking without the
    // install steps.
    ~CUpdateMain()
    {
        if (m_hCopyProcess != nullptr)
            CloseHandle(m_hCopyProcess);
    }
    CUpdateMain(const CUpdateMain&) = delete;
    CUpdateMain& operator=(const CUpdateMain&) = delete;

    void InitWindow();
    void InitElements();

    void ReadConfig();                         // config_reader.cpp
    void DownloadPackage(std::string address); // package_download.cpp
    bool UnzipPackage(const std::wstring& folder, const std::wstring& archive);
    static bool FolderExists(const std::wstring& path);
    static bool CreateFolderTree(const std::wstring& path);

    int OnProgress(WPARAM wParam, LPARAM lParam, BOOL* pbHandled);  // update_install.cpp
    int OnProgressBarChange(int position, BOOL* pbHandled);         // package_download.cpp
    int OnBtnInstallUpdate(BOOL* pbHandled);                        // update_install.cpp

    HARCHIVE m_hArchive = nullptr;        // archive being unpacked
    int32_t m_nArchiveResult = ArcOk;     // last result of the archive reader
    ArchiveEntry m_archiveEntry = {};     // entry being extracted
    std::string m_strDownloadPath;        // from "tallmere.cnf"
    std::string m_strAppDir;              // program folder, set by each download
    int32_t m_nInstallPos = 0;            // install animation counter
    HANDLE m_hCopyProcess = nullptr;      // the Xcopy over the product, while it runs
    std::string m_strStep = "download";   // "download", "downloadzip" or "runnewvision"
    HELE m_hEleUpdateMain = nullptr;      // main area, redrawn after text changes
    HELE m_hProgressBar = nullptr;
    HELE m_hTextDownLoadShow = nullptr;   // status messages
    HELE m_hBtnInstallUpdate = nullptr;

private:
    void InstallPackage();
    void DownloadAgain();
    void RunNewVersion();
    bool CopyEnded();
};
