// Measures the uninstaller's feedback post: PostFeedbackTo a local server,
// the form the uninstaller sends, one round trip after another.
//   feedback_bench <url> <count>
// Prints "RESULT <name> <value>" lines (milliseconds) for benchmarks/run.sh.
#include "feedback_http/feedback_submission.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    const int count = argc == 3 ? _wtoi(argv[2]) : 0;
    if (count <= 0) {
        std::fprintf(stderr, "usage: feedback_bench <url> <count>\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    int answered = 0;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        std::string answer = Kesto::PostFeedbackTo(argv[1], L"切换IP失败 速度慢", L"abc 123", L"");
        QueryPerformanceCounter(&end);
        answered += answer.empty() ? 0 : 1;
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart));
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("RESULT median_ms %.3f\n", sorted[sorted.size() / 2]);
    std::printf("RESULT min_ms %.3f\n", sorted.front());
    std::printf("RESULT max_ms %.3f\n", sorted.back());
    std::printf("RESULT first_ms %.3f\n", times.front());
    std::printf("RESULT answered %d\n", answered);
    return answered == count ? 0 : 1;
}
