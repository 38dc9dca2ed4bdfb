#include "feedback_submission.h"

#include "http_client.h"
#include "http_errors.h"

#include <new>
#include <utility>

#ifndef KIT_FEEDBACK_URL
#error "KIT_FEEDBACK_URL must name the feedback address (set by the build)"
#endif

namespace Kesto {

namespace {

// Always reload, never cache, no dialogs, keep the connection.
const DWORD kFeedbackFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                             INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_RESYNCHRONIZE |
                             INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_NO_UI |
                             INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kFeedbackFlags == 0x84400F00, "the feedback post's request flags");

// And no redirects: WinINet turns a redirected POST into a GET without the
// form, so following one can never deliver the feedback, and a server that
// redirects to itself keeps Wine's WinINet requesting for ever while the
// uninstaller's window hangs. A redirect is a status like any other but 200.
const DWORD kFeedbackRequestFlags = kFeedbackFlags | INTERNET_FLAG_NO_AUTO_REDIRECT;

const DWORD kAnswerBufferBytes = 5120;
const int kOkStatus = 200;

std::unique_ptr<CHttpResponseT> Post(const std::wstring& url,
                                     const std::pair<const wchar_t*, std::wstring> (&fields)[3],
                                     CHttpClient& client)
{
    for (const auto& field : fields)
        client.AddParam(field.first, field.second.c_str());
    client.SetUseUtf8(true);
    client.StartPostContext(url.c_str(), kFeedbackRequestFlags);
    std::unique_ptr<CHttpResponseT> response;
    while (!(response = client.ContinuePost())) {
    }
    return response;
}

// One read into a zeroed buffer that keeps its last byte zero.
std::string ReadAnswer(CHttpResponseT& response)
{
    char answer[kAnswerBufferBytes] = {};
    if (response.GetStatus() != kOkStatus)
        return std::string();
    response.ReadContent(reinterpret_cast<BYTE*>(answer), kAnswerBufferBytes - 1);
    return std::string(answer);
}

}  // namespace

std::string PostFeedbackTo(const std::wstring& url, std::wstring reason, std::wstring contact,
                           std::wstring sysInfo)
{
    try {
        const std::pair<const wchar_t*, std::wstring> fields[3] = {
            {L"reason", std::move(reason)},
            {L"contact", std::move(contact)},
            {L"sys_info", std::move(sysInfo)},
        };
        CHttpClient client;
        std::unique_ptr<CHttpResponseT> response = Post(url, fields, client);
        return ReadAnswer(*response);
    } catch (const httpclientexceptionW&) {
        // The client has closed its handles on the way out; nothing is shown.
    } catch (const std::bad_alloc&) {
        // The uninstaller has already started its script: it must not die here.
    }
    return std::string();
}

std::string PostFeedback(std::wstring reason, std::wstring contact, std::wstring sysInfo)
{
    return PostFeedbackTo(L"" KIT_FEEDBACK_URL, std::move(reason), std::move(contact),
                          std::move(sysInfo));
}

}  // namespace Kesto
