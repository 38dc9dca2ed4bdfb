#include "http_client_map.h"

#include "guarded_arithmetic.h"
#include "http_errors.h"

#include <cwchar>
#include <exception>
#include <new>

namespace Kesto {

namespace {

wchar_t FoldAscii(wchar_t unit)
{
    return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

CHttpClientMapT::OwnedText CopyText(const wchar_t* text)
{
    if (text == nullptr)
        return nullptr;
    const size_t units = std::wcslen(text) + 1;
    CHttpClientMapT::OwnedText copy(new (std::nothrow) wchar_t[units]);
    if (!copy)
        httpclientexceptionW::RaiseCode(102);
    std::wmemcpy(copy.get(), text, units);
    return copy;
}

}  // namespace

bool CHttpClientMapT::NameLess::operator()(const OwnedText& a, const OwnedText& b) const noexcept
{
    const wchar_t* x = a.get();
    const wchar_t* y = b.get();
    for (;; ++x, ++y) {
        wchar_t fx = FoldAscii(*x), fy = FoldAscii(*y);
        if (fx != fy)
            return fx < fy;
        if (fx == L'\0')
            return false;
    }
}

CHttpClientMapT::~CHttpClientMapT()
{
    Clear();
}

void CHttpClientMapT::Add(const wchar_t* szName, const wchar_t* szValue)
{
    if (szName == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpClientMapT::Add: szName can not be NULL.");
    OwnedText name = CopyText(szName);
    OwnedText value = CopyText(szValue);
    AddPointerDirectly(std::move(name), std::move(value));
}

void CHttpClientMapT::AddPointerDirectly(OwnedText szName, OwnedText szValue)
{
    if (!szName)
        httpclientexceptionW::RaiseMessage(
            L"CHttpClientMapT::AddPointerDirectly: szName can not be NULL.");
    GuardedAdd(Count(), 1);
    try {
        // A multimap puts a new entry after the ones with an equal name.
        m_entries.emplace(std::move(szName), std::move(szValue));
    } catch (const std::exception& error) {
        httpclientexceptionW::RaiseNarrowMessage(error.what(), 108);
    } catch (...) {
        httpclientexceptionW::RaiseCode(100);
    }
}

}  // namespace Kesto
