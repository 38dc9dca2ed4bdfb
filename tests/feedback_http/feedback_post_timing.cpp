// Measures PostFeedback's round trip against a local server: prints the
// median, the fastest and the slowest of a number of posts (default 100).
#include "feedback_http/feedback_submission.h"

#include "http_test_server.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100;
    HttpTestServer server;
    if (!server.Start()) {
        std::printf("the local server did not start\n");
        return 1;
    }
    server.SetDefaultAnswer(HttpAnswer{200, "{\"code\":0}"});
    const std::wstring url = server.WideUrl("/index.php/ip/client/feedback");

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> ms;
    int answered = 0;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        std::string answer = Kesto::PostFeedbackTo(url, L"切换IP失败,不能自动换IP", L"abc 123", L"");
        QueryPerformanceCounter(&end);
        answered += answer == "{\"code\":0}";
        ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("PostFeedback round trip, %d posts (%d answered): median %.2f ms, min %.2f ms, "
                "max %.2f ms\n",
                runs, answered, ms[ms.size() / 2], ms.front(), ms.back());
    return answered == runs ? 0 : 1;
}
