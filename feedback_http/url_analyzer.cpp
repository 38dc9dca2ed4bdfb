#include "url_analyzer.h"

#include "http_errors.h"

namespace Kesto {

namespace {

// Index of the first ":" directly followed by "//", or -1.
long SchemeEnd(const wchar_t* url)
{
    for (long i = 0; url[i] != L'\0'; ++i) {
        if (url[i] == L':' && url[i + 1] == L'/' && url[i + 2] == L'/')
            return i;
    }
    return -1;
}

bool EndsAuthority(wchar_t unit)
{
    return unit == L'/' || unit == L'?' || unit == L'#' || unit == L'\0';
}

}  // namespace

UrlAnalysis CHttpUrlAnalyzerT::Analyze(const wchar_t* szUrl, UINT CodePage)
{
    if (CodePage == CP_UTF8 || CodePage == 65000)
        httpclientexceptionW::RaiseMessage(
            L"CHttpUrlAnalyzerT::Analyze: CP_UTF8 and CP_UTF7 can not be used for the CodePage "
            L"parameter.");

    UrlAnalysis parts = {};
    const wchar_t* url = szUrl != nullptr ? szUrl : L"";

    DWORD pos = 0;
    long schemeEnd = SchemeEnd(url);
    if (schemeEnd >= 0) {
        parts.schemeLength = static_cast<DWORD>(schemeEnd);
        pos = static_cast<DWORD>(schemeEnd) + 3;
    }

    // Authority: host, then after the first ":" the port; a "/" right here
    // leaves both empty.
    parts.hostStart = pos;
    bool portSeen = false;
    for (; !EndsAuthority(url[pos]); ++pos) {
        if (portSeen) {
            ++parts.portLength;
        } else if (url[pos] == L':') {
            portSeen = true;
            parts.portStart = pos + 1;
        } else {
            ++parts.hostLength;
        }
    }
    if (!portSeen)
        parts.portStart = pos;

    parts.pathStart = pos;
    bool querySeen = false;
    for (; url[pos] != L'#' && url[pos] != L'\0'; ++pos) {
        if (!querySeen && url[pos] == L'?') {
            querySeen = true;
            parts.queryStart = pos;
        }
        if (querySeen)
            ++parts.queryLength;
        else
            ++parts.pathLength;
    }
    if (!querySeen)
        parts.queryStart = pos;

    parts.fragmentStart = pos;
    while (url[pos] != L'\0')
        ++pos;
    parts.fragmentLength = pos - parts.fragmentStart;
    return parts;
}

}  // namespace Kesto
