#include "post_stat.h"

#include "guarded_arithmetic.h"
#include "http_errors.h"

namespace Kesto {

#define KESTO_REQUIRE_ACTIVE(operation)                                                        \
    do {                                                                                       \
        if (!m_bIsActive)                                                                      \
            httpclientexceptionW::RaiseMessage(                                                \
                L"CHttpPostStatT::" operation L": The post context is not active.");           \
    } while (false)

CHttpPostStatT::~CHttpPostStatT() = default;

DWORD CHttpPostStatT::ActualTotalByte() const
{
    KESTO_REQUIRE_ACTIVE(L"ActualTotalByte");
    return m_nActualTotalByte;
}

DWORD CHttpPostStatT::ActualPostedByte() const
{
    KESTO_REQUIRE_ACTIVE(L"ActualPostedByte");
    return m_nActualPostedByte;
}

DWORD CHttpPostStatT::TotalCount() const
{
    KESTO_REQUIRE_ACTIVE(L"TotalCount");
    return m_nTotalCount;
}

DWORD CHttpPostStatT::PostedCount() const
{
    KESTO_REQUIRE_ACTIVE(L"PostedCount");
    return m_nPostedCount;
}

DWORD CHttpPostStatT::CurrParamPostedByte() const
{
    KESTO_REQUIRE_ACTIVE(L"CurrParamPostedByte");
    return m_nCurrParamPostedByte;
}

DWORD CHttpPostStatT::CurrParamRemainByte() const
{
    KESTO_REQUIRE_ACTIVE(L"CurrParamRemainByte");
    return m_nCurrParamTotalByte - m_nCurrParamPostedByte;
}

bool CHttpPostStatT::CurrParamIsComplete() const
{
    KESTO_REQUIRE_ACTIVE(L"CurrParamIsComplete");
    return m_nCurrParamTotalByte == m_nCurrParamPostedByte;
}

void CHttpPostStatT::_TestStartNewEntry() const
{
    KESTO_REQUIRE_ACTIVE(L"_TestStartNewEntry");
    GuardedAdd(m_nPostedCount, 1);
}

void CHttpPostStatT::_TestAddPostedBytes(DWORD nBytes) const
{
    KESTO_REQUIRE_ACTIVE(L"_TestAddPostedBytes");
    GuardedAdd(m_nPostedByte, nBytes);
    GuardedAdd(m_nCurrParamPostedByte, nBytes);
    GuardedAdd(m_nActualPostedByte, nBytes);
}

void CHttpPostStatT::_TestAddActualPostedBytes(DWORD nBytes) const
{
    KESTO_REQUIRE_ACTIVE(L"_TestAddActualPostedBytes");
    GuardedAdd(m_nActualPostedByte, nBytes);
}

#undef KESTO_REQUIRE_ACTIVE

void CHttpPostStatT::_MakeActive(DWORD dwActualTotalByte, DWORD dwTotalByte, DWORD dwTotalCount)
{
    _ResetStatus();
    m_nActualTotalByte = dwActualTotalByte;
    m_nTotalByte = dwTotalByte;
    m_nTotalCount = dwTotalCount;
    m_bIsActive = true;
}

void CHttpPostStatT::_StartNewEntry(const wchar_t* szName, DWORD dwCurrParamTotalByte)
{
    ++m_nPostedCount;
    m_strCurrParam = szName;
    m_nCurrParamTotalByte = dwCurrParamTotalByte;
    m_nCurrParamPostedByte = 0;
}

void CHttpPostStatT::_AddPostedBytes(DWORD nBytes)
{
    m_nPostedByte += nBytes;
    m_nCurrParamPostedByte += nBytes;
}

void CHttpPostStatT::_AddActualPostedBytes(DWORD nBytes)
{
    m_nActualPostedByte += nBytes;
}

void CHttpPostStatT::_ResetStatus() noexcept
{
    m_bIsActive = false;
    m_nActualTotalByte = 0;
    m_nActualPostedByte = 0;
    m_nTotalByte = 0;
    m_nPostedByte = 0;
    m_nTotalCount = 0;
    m_nPostedCount = 0;
    m_strCurrParam.clear();
    m_strCurrParam.shrink_to_fit();
    m_nCurrParamTotalByte = 0;
    m_nCurrParamPostedByte = 0;
}

}  // namespace Kesto
