// Measures a package download as the updater makes it: URLDownloadToFileW
// into a file, with the updater's own status callback driving the progress
// bar of its skin (mainSkin, Update.xml) on a shown toolkit window, or with
// a callback that does nothing.
//   download_bench <url> <target file> progress <mainSkin folder>
//   download_bench <url> <target file> empty
// Prints "RESULT <name> <value>" lines for benchmarks/run.sh.
#include "toolkit/xcgui.h"
#include "update/bind_status_callback.h"

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

// The updater's window skin, shown, and its progress bar.
HELE ShowUpdateSkin(const std::wstring& skin, HWINDOW& window)
{
    if (!XInitXCGUI(0) ||
        !XC_LoadResource((skin + L"\\resource.xml").c_str(), skin.c_str()))
        return nullptr;
    window = XC_LoadLayout((skin + L"\\Update.xml").c_str(), nullptr);
    if (window == nullptr)
        return nullptr;
    HELE bar = static_cast<HELE>(XC_GetObjectByID(window, XC_GetResIDValue(L"ID_ProgressBar")));
    XWnd_AdjustLayout(window);
    XWnd_ShowWindow(window, SW_SHOW);
    return bar;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 3 ? argv[3] : L"";
    if (!((mode == L"progress" && argc == 5) || (mode == L"empty" && argc == 4))) {
        std::fprintf(stderr, "usage: download_bench <url> <file> progress <mainSkin folder>\n"
                             "       download_bench <url> <file> empty\n");
        return 2;
    }
    CoInitialize(nullptr);
    HELE bar = nullptr;
    HWINDOW window = nullptr;
    if (mode == L"progress" && (bar = ShowUpdateSkin(argv[4], window)) == nullptr) {
        std::fprintf(stderr, "download_bench: the updater's skin did not load: %ls\n",
                     XC_GetLastLoadError());
        return 1;
    }
    CBindStatusBack progress(bar);
    EmptyCallback empty;
    IBindStatusCallback* callback = bar != nullptr ? static_cast<IBindStatusCallback*>(&progress)
                                                   : static_cast<IBindStatusCallback*>(&empty);
    DeleteUrlCacheEntryW(argv[1]);  // as the updater does before each download
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    HRESULT result = URLDownloadToFileW(nullptr, argv[1], argv[2], 0, callback);
    QueryPerformanceCounter(&end);
    std::printf("RESULT seconds %.6f\n", Seconds(start, end));
    if (window != nullptr) {
        // The toolkit's own way out, as the updater's frame takes it.
        XWnd_CloseWindow(window);
        XExitXCGUI();
    }
    if (bar == nullptr)
        std::printf("RESULT callbacks %lu\n", empty.calls);
    if (result != S_OK) {
        std::fprintf(stderr, "download_bench: URLDownloadToFileW gave 0x%08lX\n",
                     static_cast<unsigned long>(result));
        return 1;
    }
    return 0;
}
