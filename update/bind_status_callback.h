#pragma once
// The status callback of one download: moves the progress bar as the bytes
// arrive. It lives on the downloading function's stack for exactly the
// transfer, so it counts no references and never deletes itself.
#include "toolkit/xcgui.h"

#include <urlmon.h>

// The bar position for transferred of total bytes: truncated percent, 0
// while the server has given no total, never above 100.
int ProgressPosition(ULONG transferred, ULONG total);

class CBindStatusBack : public IBindStatusCallback {
public:
    explicit CBindStatusBack(HELE progressBar) : m_pProgressBar(progressBar) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(OnStartBinding)(DWORD dwReserved, IBinding* pib) override;
    STDMETHOD(GetPriority)(LONG* pnPriority) override;
    STDMETHOD(OnLowResource)(DWORD reserved) override;
    STDMETHOD(OnProgress)(ULONG ulProgress, ULONG ulProgressMax, ULONG ulStatusCode,
                          LPCWSTR szStatusText) override;
    STDMETHOD(OnStopBinding)(HRESULT hresult, LPCWSTR szError) override;
    STDMETHOD(GetBindInfo)(DWORD* grfBINDF, BINDINFO* pbindinfo) override;
    STDMETHOD(OnDataAvailable)(DWORD grfBSCF, DWORD dwSize, FORMATETC* pformatetc,
                               STGMEDIUM* pstgmed) override;
    STDMETHOD(OnObjectAvailable)(REFIID riid, IUnknown* punk) override;

    HELE m_pProgressBar;
    int m_nRequests = 0;  // requests sent and redirections reported so far
    static constexpr int kMostRequests = 20;
};
