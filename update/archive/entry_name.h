#pragma once
// Entry names: the safety rules that strip drive prefixes, leading separators
// and embedded parent references, and the test a name must pass before
// anything is written under it.
#include <string>

// Applies the rules, in order and from the first again after every change,
// until none applies.
std::wstring StripEntryName(std::wstring name);

// True when the (stripped) name stays inside the base folder and names an
// ordinary file: no ".." or other component ending in a dot or a blank, no
// drive or stream colon, no device name (CON, NUL, COM1, ...), no character
// Windows refuses in file names.
bool IsSafeEntryName(const std::wstring& name);

bool IsPathSeparator(wchar_t c);
