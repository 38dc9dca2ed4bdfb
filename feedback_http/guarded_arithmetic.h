#pragma once
// Lengths and counters of the client are 32-bit: every sum is checked before
// its value is used, and an overflow is raised as error 112.
#include "http_errors.h"

#include <windows.h>

#include <cstddef>

namespace Kesto {

// 0 with the sum in `result`, or ERROR_ARITHMETIC_OVERFLOW.
inline DWORD TryAdd(DWORD a, DWORD b, DWORD& result) noexcept
{
    if (b > MAXDWORD - a)
        return ERROR_ARITHMETIC_OVERFLOW;
    result = a + b;
    return 0;
}

inline DWORD GuardedAdd(DWORD a, DWORD b)
{
    DWORD sum = 0;
    if (DWORD status = TryAdd(a, b, sum))
        httpclientexceptionW::RaiseArithmetic(status);
    return sum;
}

inline DWORD GuardedAddA(DWORD a, DWORD b)
{
    DWORD sum = 0;
    if (DWORD status = TryAdd(a, b, sum))
        httpclientexceptionA::RaiseArithmetic(status);
    return sum;
}

// A text length as a 32-bit count.
inline DWORD GuardedLength(size_t length)
{
    if (length > MAXDWORD)
        httpclientexceptionW::RaiseArithmetic(ERROR_ARITHMETIC_OVERFLOW);
    return static_cast<DWORD>(length);
}

}  // namespace Kesto
