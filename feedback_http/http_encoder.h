#pragma once
// URL encoding of form names and values: each UTF-16 unit is converted alone
// to the target code page (UTF-8, or the given code page), then letters and
// digits stay, a blank becomes "+" and every other byte "%XX". Names keep the
// marks "-", "_", ".", "~" as well, so a field such as "sys_info" goes out
// under its own name.
#include <windows.h>

namespace Kesto {

class CHttpEncoderW {
public:
    // Byte length of the URL-encoded form, without a terminating zero.
    static DWORD UrlEncodeLenA(const wchar_t* szStr, bool bUtf8Encoding, UINT CodePage);
    // Fills szBuff (UrlEncodeLenA + 1 bytes) with the encoded form and a zero.
    static char* UrlEncodeA(const wchar_t* szStr, char* szBuff, bool bUtf8Encoding, UINT CodePage);

    // The same for a form field's name.
    static DWORD UrlEncodeNameLenA(const wchar_t* szStr, bool bUtf8Encoding, UINT CodePage);
    static char* UrlEncodeNameA(const wchar_t* szStr, char* szBuff, bool bUtf8Encoding,
                                UINT CodePage);

    // The same for the bytes of a narrow text. _UrlEncode writes the encoding
    // and a terminating zero, and returns the position of that zero.
    static DWORD _UrlEncodeLen(const char* szStr);
    static char* _UrlEncode(const char* szStr, char* szBuff);
};

}  // namespace Kesto
