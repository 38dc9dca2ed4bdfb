#pragma once
// How far a post has got: the whole body and its parameters' values, in
// bytes and in parameters. Every reading raises while no post is active.
#include <windows.h>

#include <string>

namespace Kesto {

template <typename HttpTool, typename HttpEncoder>
class CHttpClientT;

class CHttpPostStatT {
public:
    CHttpPostStatT() = default;
    virtual ~CHttpPostStatT();

    bool IsActive() const noexcept { return m_bIsActive; }
    DWORD ActualTotalByte() const;     // the body length announced to the server
    DWORD ActualPostedByte() const;    // body bytes written: separators, names, values
    DWORD TotalCount() const;          // parameters
    DWORD PostedCount() const;         // parameters begun
    DWORD CurrParamPostedByte() const;
    DWORD CurrParamRemainByte() const;
    bool CurrParamIsComplete() const;

    // Each raises error 112 when its counters could not take the change.
    void _TestStartNewEntry() const;
    void _TestAddPostedBytes(DWORD nBytes) const;
    void _TestAddActualPostedBytes(DWORD nBytes) const;

private:
    template <typename HttpTool, typename HttpEncoder>
    friend class CHttpClientT;

    void _MakeActive(DWORD dwActualTotalByte, DWORD dwTotalByte, DWORD dwTotalCount);
    void _StartNewEntry(const wchar_t* szName, DWORD dwCurrParamTotalByte);
    void _AddPostedBytes(DWORD nBytes);
    void _AddActualPostedBytes(DWORD nBytes);
    void _ResetStatus() noexcept;

    bool m_bIsActive = false;
    DWORD m_nActualTotalByte = 0;
    DWORD m_nActualPostedByte = 0;
    DWORD m_nTotalByte = 0;
    DWORD m_nPostedByte = 0;
    DWORD m_nTotalCount = 0;
    DWORD m_nPostedCount = 0;
    std::wstring m_strCurrParam;
    DWORD m_nCurrParamTotalByte = 0;
    DWORD m_nCurrParamPostedByte = 0;
};

}  // namespace Kesto
