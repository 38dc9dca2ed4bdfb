#include "http_encoder.h"

#include "guarded_arithmetic.h"
#include "http_errors.h"

namespace Kesto {

namespace {

// The bytes of one UTF-16 unit in the target code page, zero-terminated. A
// surrogate pair is never joined: each half goes to the platform alone.
struct UnitBytes {
    char bytes[7];
};

UnitBytes ConvertUnit(wchar_t unit, bool useUtf8, UINT codePage)
{
    const UINT target = useUtf8 ? CP_UTF8 : codePage;
    const wchar_t units[2] = {unit, L'\0'};
    UnitBytes converted = {};
    if (WideCharToMultiByte(target, 0, units, 2, converted.bytes, sizeof converted.bytes, nullptr,
                            nullptr) == 0)
        httpclientexceptionW::RaiseCode(600, GetLastError());
    return converted;
}

bool IsKept(unsigned char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z');
}

}  // namespace

DWORD CHttpEncoderW::UrlEncodeLenA(const wchar_t* szStr, bool bUtf8Encoding, UINT CodePage)
{
    DWORD length = 0;
    if (szStr == nullptr)
        return length;
    for (const wchar_t* unit = szStr; *unit != L'\0'; ++unit)
        length = GuardedAdd(length, _UrlEncodeLen(ConvertUnit(*unit, bUtf8Encoding, CodePage).bytes));
    return length;
}

char* CHttpEncoderW::UrlEncodeA(const wchar_t* szStr, char* szBuff, bool bUtf8Encoding,
                                UINT CodePage)
{
    if (szBuff == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpEncoderW::UrlEncodeA: szBuff can not be NULL.");
    char* end = szBuff;
    *end = '\0';
    if (szStr == nullptr)
        return szBuff;
    for (const wchar_t* unit = szStr; *unit != L'\0'; ++unit)
        end = _UrlEncode(ConvertUnit(*unit, bUtf8Encoding, CodePage).bytes, end);
    return szBuff;
}

DWORD CHttpEncoderW::_UrlEncodeLen(const char* szStr)
{
    if (szStr == nullptr)
        httpclientexceptionW::RaiseMessage(L"_UrlEncodeLen: szStr can not be NULL.");
    DWORD length = 0;
    for (const char* byte = szStr; *byte != '\0'; ++byte) {
        unsigned char value = static_cast<unsigned char>(*byte);
        length = GuardedAdd(length, IsKept(value) || value == ' ' ? 1 : 3);
    }
    return length;
}

char* CHttpEncoderW::_UrlEncode(const char* szStr, char* szBuff)
{
    static const char kHex[] = "0123456789ABCDEF";
    char* out = szBuff;
    for (const char* byte = szStr; *byte != '\0'; ++byte) {
        unsigned char value = static_cast<unsigned char>(*byte);
        if (IsKept(value)) {
            *out++ = static_cast<char>(value);
        } else if (value == ' ') {
            *out++ = '+';
        } else {
            *out++ = '%';
            *out++ = kHex[value >> 4];
            *out++ = kHex[value & 0x0F];
        }
    }
    *out = '\0';
    return out;
}

}  // namespace Kesto
