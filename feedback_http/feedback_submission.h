#pragma once
// The uninstaller's feedback form, posted URL-encoded as UTF-8 with the
// fields contact, reason and sys_info. The result is the body of a 200
// answer (at most 5119 bytes, cut at its first zero byte), or empty for any
// other status and for every failure; nothing is ever raised.
#include <string>

namespace Kesto {

// To the address the build sets (KIT_FEEDBACK_URL).
std::string PostFeedback(std::wstring reason, std::wstring contact, std::wstring sysInfo);

// To the given address, e.g. a local server in tests.
std::string PostFeedbackTo(const std::wstring& url, std::wstring reason, std::wstring contact,
                           std::wstring sysInfo);

}  // namespace Kesto
