#pragma once
// The reason text of the feedback form: the ticked fixed reasons, then the
// user's own, joined by ",".
#include <string>

extern const wchar_t kReasonChangeError[];   // "切换IP失败"
extern const wchar_t kReasonRepeatMore[];    // "重复IP太多"
extern const wchar_t kReasonUnchangedIP[];   // "不能自动换IP"

std::wstring JoinReasons(bool changeError, bool repeatMore, bool unchangedIP,
                         const std::wstring& otherReason);
