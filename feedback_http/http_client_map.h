#pragma once
// Names and values of form parameters or request headers, walked in
// case-insensitive order of the names (A-Z folded to a-z, every other unit by
// its value); equal names keep the order in which they were added.
#include <windows.h>

#include <map>
#include <memory>

namespace Kesto {

class CHttpClientMapT {
public:
    using OwnedText = std::unique_ptr<wchar_t[]>;  // a value may be absent

    struct NameLess {
        bool operator()(const OwnedText& a, const OwnedText& b) const noexcept;
    };
    using Entries = std::multimap<OwnedText, OwnedText, NameLess>;
    using ConstIterator = Entries::const_iterator;

    CHttpClientMapT() = default;
    virtual ~CHttpClientMapT();
    CHttpClientMapT(const CHttpClientMapT&) = delete;
    CHttpClientMapT& operator=(const CHttpClientMapT&) = delete;

    // Copies the name and, when present, the value.
    void Add(const wchar_t* szName, const wchar_t* szValue);
    // Takes over buffers the caller made.
    void AddPointerDirectly(OwnedText szName, OwnedText szValue);

    DWORD Count() const noexcept { return static_cast<DWORD>(m_entries.size()); }
    ConstIterator begin() const noexcept { return m_entries.begin(); }
    ConstIterator end() const noexcept { return m_entries.end(); }
    void Clear() noexcept { m_entries.clear(); }

private:
    Entries m_entries;
};

}  // namespace Kesto
