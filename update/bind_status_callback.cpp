#include "bind_status_callback.h"

int ProgressPosition(ULONG transferred, ULONG total)
{
    if (total == 0)
        return 0;  // no size from the server yet
    double percent = static_cast<double>(transferred) * 100.0 / static_cast<double>(total);
    if (percent > 100.0)
        return 100;
    return static_cast<int>(percent);
}

STDMETHODIMP CBindStatusBack::QueryInterface(REFIID, void** ppvObject)
{
    if (ppvObject != nullptr)
        *ppvObject = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) CBindStatusBack::AddRef()
{
    return 0;
}

STDMETHODIMP_(ULONG) CBindStatusBack::Release()
{
    return 0;
}

STDMETHODIMP CBindStatusBack::OnStartBinding(DWORD, IBinding*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::OnLowResource(DWORD)
{
    return E_NOTIMPL;
}

// E_ABORT only for endless redirections: the transfer goes on whatever the
// bar shows.
STDMETHODIMP CBindStatusBack::OnProgress(ULONG ulProgress, ULONG ulProgressMax,
                                         ULONG ulStatusCode, LPCWSTR)
{
    // A server that redirects to itself would keep the transfer going for
    // ever, and the window, which waits for it before its message loop, dead.
    // Each redirection shows as another request sent (Wine) or as a
    // redirection (Windows); one transfer needs one request.
    if ((ulStatusCode == BINDSTATUS_SENDINGREQUEST || ulStatusCode == BINDSTATUS_REDIRECTING) &&
        ++m_nRequests > kMostRequests)
        return E_ABORT;
    int position = ProgressPosition(ulProgress, ulProgressMax);
    XProgBar_SetPos(m_pProgressBar, position);
    // No message loop runs during the transfer, so the window would show
    // nothing of it: paint what changed now.
    XEle_RedrawEle(m_pProgressBar, TRUE);
    return position == 100 ? S_OK : E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::OnStopBinding(HRESULT, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::GetBindInfo(DWORD*, BINDINFO*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBindStatusBack::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}
