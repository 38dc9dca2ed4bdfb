#include "feedback_reasons.h"

const wchar_t kReasonChangeError[] = L"切换IP失败";
const wchar_t kReasonRepeatMore[] = L"重复IP太多";
const wchar_t kReasonUnchangedIP[] = L"不能自动换IP";

namespace {

void Append(std::wstring& reason, const std::wstring& part)
{
    if (!reason.empty())
        reason += L",";
    reason += part;
}

}  // namespace

std::wstring JoinReasons(bool changeError, bool repeatMore, bool unchangedIP,
                         const std::wstring& otherReason)
{
    std::wstring reason;
    if (changeError)
        Append(reason, kReasonChangeError);
    if (repeatMore)
        Append(reason, kReasonRepeatMore);
    if (unchangedIP)
        Append(reason, kReasonUnchangedIP);
    if (!otherReason.empty())
        Append(reason, otherReason);
    return reason;
}
