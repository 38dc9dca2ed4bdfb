#pragma once
// The HTTP form client: form parameters posted URL-encoded to one URL, the
// body written in small steps, the answer handed out as a response that owns
// the request's handles. Every failure raises httpclientexceptionW, after the
// handles opened so far have been closed.
#include "http_client_map.h"
#include "http_encoder.h"
#include "http_response.h"
#include "http_tool.h"
#include "internet_handle.h"
#include "post_stat.h"

#include <memory>
#include <string>

namespace Kesto {

template <typename HttpTool, typename HttpEncoder>
class CHttpClientT {
public:
    CHttpClientT() = default;
    ~CHttpClientT();
    CHttpClientT(const CHttpClientT&) = delete;
    CHttpClientT& operator=(const CHttpClientT&) = delete;

    // Names and values are encoded as UTF-8 instead of the code page. Returns
    // the previous setting; refused during a post.
    bool SetUseUtf8(bool bUseUtf8);
    // Refused during a post; the value may be absent.
    void AddParam(const wchar_t* szName, const wchar_t* szValue);

    // Opens the handles for the URL, sends the request line and the headers
    // of a URL-encoded POST with the body length, and starts the post.
    void StartPostContext(const wchar_t* szUrl, DWORD dwFlags);
    // One step of the body; the response once the request has ended, before
    // that nothing. Call it until it returns a response.
    std::unique_ptr<CHttpResponseT> ContinuePost();

    const CHttpPostStatT& PostStat() const noexcept { return m_objPostStat; }

private:
    // The handles of a post, closed request first, then connection, then Internet.
    struct PostHandles {
        InternetHandle hInternet;
        InternetHandle hConnection;
        InternetHandle hRequest;

        PostHandles() = default;
        PostHandles(PostHandles&&) = default;
        PostHandles& operator=(PostHandles&&) = default;
        ~PostHandles() { CloseAll(); }

        void CloseAll() noexcept
        {
            hRequest.Close();
            hConnection.Close();
            hInternet.Close();
        }
    };

    // Bytes of a URL-encoded text, absent for an absent text.
    struct EncodedText {
        std::unique_ptr<char[]> bytes;
        DWORD length = 0;
    };

    // Settings of InternetOpenW; this system keeps the defaults.
    struct InternetOpenSettings {
        std::wstring strAgent;  // empty: "Kesto HTTP Client Class"
        DWORD dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
        std::wstring strProxyName;
        std::wstring strProxyBypass;
        DWORD dwFlags = 0;
        std::wstring strProxyUserName;
        std::wstring strProxyPassword;
    };

    DWORD BodyLength(DWORD& dwValueBytes) const;
    InternetHandle OpenInternet() const;
    InternetHandle OpenConnection(HINTERNET hInternet, const wchar_t* szUrl) const;
    void ApplyProxyAccount(HINTERNET hConnection) const;
    InternetHandle OpenRequest(HINTERNET hConnection, const wchar_t* szUrl, DWORD dwFlags) const;
    void AddRequestHeader(HINTERNET hRequest) const;
    EncodedText EncodeValue(const wchar_t* szText) const;
    EncodedText EncodeName(const wchar_t* szName) const;

    std::unique_ptr<CHttpResponseT> _ProceedPostContext();
    void _BeginNextParam();
    void _WriteValuePiece();
    void _WritePost(const BYTE* pbyBuff, DWORD cbyBuff, bool bIsContent);
    std::unique_ptr<CHttpResponseT> _ReleasePostResponse();
    void _AbortPostContext() noexcept;
    PostHandles _DetachPostContext();

    bool m_bUseUtf8 = false;
    UINT m_nAnsiCodePage = CP_ACP;
    CHttpClientMapT m_mapHeader;
    CHttpClientMapT m_mapParam;
    InternetOpenSettings m_objOpenSettings;
    CHttpPostStatT m_objPostStat;
    EncodedText m_objCurrValue;
    PostHandles m_objHandles;
};

using CHttpClient = CHttpClientT<CHttpToolW, CHttpEncoderW>;

}  // namespace Kesto
