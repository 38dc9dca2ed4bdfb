#pragma once
#include <windows.h>

// Windows XP is 5.1 on the NT platform; 2000 (5.0), XP x64 and Server 2003
// (5.2) and everything from Vista on are not.
bool IsWindowsXPVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion);

// The running system, as GetVersionExW reports it.
bool IsWindowsXP();
