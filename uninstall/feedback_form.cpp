#include "uninstall_window.h"

#include "feedback_reasons.h"
#include "system_description.h"

#include "feedback_http/feedback_submission.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kEditBufferUnits = 1024;

// The box's text up to its first NUL, read into a cleared 1024-unit buffer.
std::wstring ReadEditText(HELE edit)
{
    std::vector<wchar_t> buffer(kEditBufferUnits, L'\0');
    XRichEdit_GetText(edit, buffer.data(), kEditBufferUnits);
    return std::wstring(buffer.data(), std::find(buffer.begin(), buffer.end(), L'\0') - buffer.begin());
}

}  // namespace

// Posts the form once; the answer, success or failure, is not looked at.
void CMainDlg::SendFeedback()
{
    bool changeError = XBtn_IsCheck(m_hCekChangeError) != FALSE;
    bool repeatMore = XBtn_IsCheck(m_hCekRepeatMore) != FALSE;
    bool unchangedIP = XBtn_IsCheck(m_hCekUnchangedIP) != FALSE;
    std::wstring otherReason = ReadEditText(m_hEditOtherReason);
    std::wstring reason = JoinReasons(changeError, repeatMore, unchangedIP, otherReason);
    std::wstring contact = ReadEditText(m_hEditConectedWay);
    Kesto::PostFeedback(reason, contact, SystemDescription());
}
