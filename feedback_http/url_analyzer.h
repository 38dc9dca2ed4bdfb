#pragma once
// Splits a URL into scheme, host, port, path, query and fragment, as
// positions and lengths in UTF-16 units from the start of the URL.
#include <windows.h>

namespace Kesto {

struct UrlAnalysis {
    DWORD schemeStart;     // always 0
    DWORD schemeLength;    // units before the first "://"; 0 without one
    DWORD hostStart;       // after "://", or 0
    DWORD hostLength;
    DWORD portStart;       // after the port's ":", or where the authority ends
    DWORD portLength;
    DWORD pathStart;       // where the authority ends
    DWORD pathLength;      // up to the first "?" or "#"
    DWORD queryStart;      // the "?", or where the path ends
    DWORD queryLength;     // its "?" included
    DWORD fragmentStart;   // the "#", or the end of the URL
    DWORD fragmentLength;  // its "#" included
};

class CHttpUrlAnalyzerT {
public:
    // CodePage 65001 and 65000 are refused; an absent URL reads as empty.
    static UrlAnalysis Analyze(const wchar_t* szUrl, UINT CodePage);
};

}  // namespace Kesto
