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

enum class Marks { Encoded, Kept };

bool IsKept(unsigned char byte, Marks marks)
{
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'))
        return true;
    return marks == Marks::Kept && (byte == '-' || byte == '_' || byte == '.' || byte == '~');
}

DWORD EncodedLength(const char* bytes, Marks marks)
{
    DWORD length = 0;
    for (const char* byte = bytes; *byte != '\0'; ++byte) {
        unsigned char value = static_cast<unsigned char>(*byte);
        length = GuardedAdd(length, IsKept(value, marks) || value == ' ' ? 1 : 3);
    }
    return length;
}

char* EncodeBytes(const char* bytes, char* out, Marks marks)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (const char* byte = bytes; *byte != '\0'; ++byte) {
        unsigned char value = static_cast<unsigned char>(*byte);
        if (IsKept(value, marks)) {
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

DWORD TextLength(const wchar_t* text, bool useUtf8, UINT codePage, Marks marks)
{
    DWORD length = 0;
    if (text == nullptr)
        return length;
    for (const wchar_t* unit = text; *unit != L'\0'; ++unit)
        length = GuardedAdd(length, EncodedLength(ConvertUnit(*unit, useUtf8, codePage).bytes, marks));
    return length;
}

char* EncodeText(const wchar_t* text, char* buffer, bool useUtf8, UINT codePage, Marks marks)
{
    char* end = buffer;
    *end = '\0';
    if (text == nullptr)
        return buffer;
    for (const wchar_t* unit = text; *unit != L'\0'; ++unit)
        end = EncodeBytes(ConvertUnit(*unit, useUtf8, codePage).bytes, end, marks);
    return buffer;
}

}  // namespace

DWORD CHttpEncoderW::UrlEncodeLenA(const wchar_t* szStr, bool bUtf8Encoding, UINT CodePage)
{
    return TextLength(szStr, bUtf8Encoding, CodePage, Marks::Encoded);
}

char* CHttpEncoderW::UrlEncodeA(const wchar_t* szStr, char* szBuff, bool bUtf8Encoding,
                                UINT CodePage)
{
    if (szBuff == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpEncoderW::UrlEncodeA: szBuff can not be NULL.");
    return EncodeText(szStr, szBuff, bUtf8Encoding, CodePage, Marks::Encoded);
}

DWORD CHttpEncoderW::UrlEncodeNameLenA(const wchar_t* szStr, bool bUtf8Encoding, UINT CodePage)
{
    return TextLength(szStr, bUtf8Encoding, CodePage, Marks::Kept);
}

char* CHttpEncoderW::UrlEncodeNameA(const wchar_t* szStr, char* szBuff, bool bUtf8Encoding,
                                    UINT CodePage)
{
    if (szBuff == nullptr)
        httpclientexceptionW::RaiseMessage(L"CHttpEncoderW::UrlEncodeNameA: szBuff can not be NULL.");
    return EncodeText(szStr, szBuff, bUtf8Encoding, CodePage, Marks::Kept);
}

DWORD CHttpEncoderW::_UrlEncodeLen(const char* szStr)
{
    if (szStr == nullptr)
        httpclientexceptionW::RaiseMessage(L"_UrlEncodeLen: szStr can not be NULL.");
    return EncodedLength(szStr, Marks::Encoded);
}

char* CHttpEncoderW::_UrlEncode(const char* szStr, char* szBuff)
{
    return EncodeBytes(szStr, szBuff, Marks::Encoded);
}

}  // namespace Kesto
