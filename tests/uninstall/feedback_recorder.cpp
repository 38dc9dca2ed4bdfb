// Stand-in for the feedback post in the window tests: writes what it was
// handed into the stand-in toolkit's call log, in the order of the calls.
#include "toolkit_recorder.h"

#include "feedback_http/feedback_submission.h"

namespace Kesto {

std::string PostFeedback(std::wstring reason, std::wstring contact, std::wstring sysInfo)
{
    toolkit_recorder::Record(L"PostFeedback reason=" + reason + L" contact=" + contact +
                             L" sys_info=" + sysInfo);
    return std::string();
}

}  // namespace Kesto
