#include "entry_name.h"

#include <cwctype>

namespace {

// A reference to the parent folder inside a name: everything up to and
// including the first one found is dropped.
const wchar_t* const kParentReferences[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};

bool ApplyFirstRule(std::wstring& name)
{
    if (name.size() >= 2 && name[1] == L':') {
        name.erase(0, 2);
        return true;
    }
    if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) {
        name.erase(0, 1);
        return true;
    }
    for (const wchar_t* reference : kParentReferences) {
        size_t at = name.find(reference);
        if (at != std::wstring::npos) {
            name.erase(0, at + 4);
            return true;
        }
    }
    return false;
}

bool IsRefusedCharacter(wchar_t c)
{
    return c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' ||
           c == L'>' || c == L'|';
}

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* word)
{
    size_t i = 0;
    for (; word[i] != L'\0'; ++i) {
        if (i >= text.size() || std::towupper(text[i]) != word[i])
            return false;
    }
    return i == text.size();
}

bool IsDeviceDigit(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

// Windows opens the device, not a file, for these names with any extension.
bool IsDeviceName(const std::wstring& component)
{
    std::wstring stem = component.substr(0, component.find(L'.'));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (EqualsIgnoringCase(stem, device))
            return true;
    }
    if (stem.size() == 4 && IsDeviceDigit(stem[3])) {
        std::wstring prefix = stem.substr(0, 3);
        return EqualsIgnoringCase(prefix, L"COM") || EqualsIgnoringCase(prefix, L"LPT");
    }
    return false;
}

bool IsSafeComponent(const std::wstring& component)
{
    if (component.empty())
        return true;  // a doubled separator names no folder of its own
    wchar_t last = component.back();
    // Windows drops trailing dots and blanks, so "..", ". ." or "a." would
    // name another folder than the one written.
    if (last == L'.' || last == L' ')
        return false;
    return !IsDeviceName(component);
}

}  // namespace

bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

std::wstring StripEntryName(std::wstring name)
{
    while (ApplyFirstRule(name)) {
    }
    return name;
}

bool IsSafeEntryName(const std::wstring& name)
{
    std::wstring component;
    for (wchar_t c : name) {
        if (IsRefusedCharacter(c))
            return false;
        if (IsPathSeparator(c)) {
            if (!IsSafeComponent(component))
                return false;
            component.clear();
        } else {
            component += c;
        }
    }
    return IsSafeComponent(component);
}
