// Measures a package download as the updater makes it: the updater's own
// window (mainSkin beside this program, built as update.exe builds it) and
// its DownloadPackage, which fetches into "update.zip" beside this program
// with the progress bar moving; or URLDownloadToFileW alone into a file,
// with a callback that does nothing.
//   download_bench <url> updater
//   download_bench <url> <target file> empty
// Prints "RESULT <name> <value>" lines for benchmarks/run.sh.
#include "common/program_folder.h"
#include "common/text_conversion.h"
#include "common/window_frame.h"
#include "update/update_window.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <cstdio>
#include <string>

namespace {

// Answers like the updater's callback but moves nothing.
class EmptyCallback : public IBindStatusCallback {
public:
    STDMETHOD(QueryInterface)(REFIID, void** object) override
    {
        if (object != nullptr)
            *object = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 0; }
    STDMETHOD_(ULONG, Release)() override { return 0; }
    STDMETHOD(OnStartBinding)(DWORD, IBinding*) override { return E_NOTIMPL; }
    STDMETHOD(GetPriority)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(OnLowResource)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(OnProgress)(ULONG, ULONG, ULONG, LPCWSTR) override
    {
        ++calls;
        return E_NOTIMPL;
    }
    STDMETHOD(OnStopBinding)(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
    STDMETHOD(GetBindInfo)(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnDataAvailable)(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(OnObjectAvailable)(REFIID, IUnknown*) override { return E_NOTIMPL; }

    unsigned long calls = 0;
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The updater's window as update.exe builds it, before its first download.
bool ShowUpdaterWindow(CUpdateMain& updater)
{
    if (!LoadSkinWindow(BuildSkinPaths(GetProgramFolder(), "mainSkin", "Update.xml")))
        return false;
    updater.InitElements();
    ShowProgramWindow(L"更新程序");
    return true;
}

double TimeUpdaterDownload(const std::wstring& url)
{
    XInitXCGUI(0);
    CUpdateMain updater;
    if (!ShowUpdaterWindow(updater)) {
        std::fprintf(stderr, "download_bench: the updater's skin did not load: %ls\n",
                     XC_GetLastLoadError());
        return -1;
    }
    std::string address;
    WideToAnsi(url, address);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    updater.DownloadPackage(address);
    QueryPerformanceCounter(&end);
    // The toolkit's own way out, as the updater's frame takes it.
    XWnd_CloseWindow(g_hWindow);
    XExitXCGUI();
    return Seconds(start, end);
}

double TimeEmptyDownload(const std::wstring& url, const std::wstring& file, unsigned long& calls)
{
    EmptyCallback empty;
    DeleteUrlCacheEntryW(url.c_str());  // as the updater does before each download
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HRESULT result = URLDownloadToFileW(nullptr, url.c_str(), file.c_str(), 0, &empty);
    QueryPerformanceCounter(&end);
    calls = empty.calls;
    if (result != S_OK) {
        std::fprintf(stderr, "download_bench: URLDownloadToFileW gave 0x%08lX\n",
                     static_cast<unsigned long>(result));
        return -1;
    }
    return Seconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 2 ? argv[argc - 1] : L"";
    if (!((mode == L"updater" && argc == 3) || (mode == L"empty" && argc == 4))) {
        std::fprintf(stderr, "usage: download_bench <url> updater\n"
                             "       download_bench <url> <file> empty\n");
        return 2;
    }
    CoInitialize(nullptr);
    unsigned long calls = 0;
    const double seconds = mode == L"updater" ? TimeUpdaterDownload(argv[1])
                                              : TimeEmptyDownload(argv[1], argv[2], calls);
    if (seconds < 0)
        return 1;
    std::printf("RESULT seconds %.6f\n", seconds);
    if (mode == L"empty")
        std::printf("RESULT callbacks %lu\n", calls);
    return 0;
}
