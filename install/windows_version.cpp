#include "windows_version.h"

bool IsWindowsXPVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion)
{
    return platformId == VER_PLATFORM_WIN32_NT && majorVersion == 5 && minorVersion == 1;
}

bool IsWindowsXP()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // the version query the refusal is about
#endif
    if (!GetVersionExW(&version))
        return false;
    return IsWindowsXPVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}
