#pragma once
// The "sys_info" text of the feedback: Windows version and build, processor
// architecture and count. Nothing that identifies the user or the machine.
#include <windows.h>

#include <string>

// For instance "Windows 6.1.7601; x86; 2 processors".
std::wstring DescribeSystem(const OSVERSIONINFOEXW& version, const SYSTEM_INFO& system);

// The description of the running system.
std::wstring SystemDescription();
