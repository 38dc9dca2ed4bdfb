#include "system_description.h"

namespace {

const wchar_t* ArchitectureName(WORD architecture)
{
    switch (architecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
        return L"x86";
    case PROCESSOR_ARCHITECTURE_AMD64:
        return L"x64";
    case PROCESSOR_ARCHITECTURE_ARM:
        return L"ARM";
    case 12:  // PROCESSOR_ARCHITECTURE_ARM64, missing from older headers
        return L"ARM64";
    case PROCESSOR_ARCHITECTURE_IA64:
        return L"IA64";
    default:
        return L"unknown";
    }
}

}  // namespace

std::wstring DescribeSystem(const OSVERSIONINFOEXW& version, const SYSTEM_INFO& system)
{
    DWORD processors = system.dwNumberOfProcessors;
    return L"Windows " + std::to_wstring(version.dwMajorVersion) + L"." +
           std::to_wstring(version.dwMinorVersion) + L"." +
           std::to_wstring(version.dwBuildNumber) + L"; " +
           ArchitectureName(system.wProcessorArchitecture) + L"; " +
           std::to_wstring(processors) + (processors == 1 ? L" processor" : L" processors");
}

std::wstring SystemDescription()
{
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    // The manifest names the Windows versions the kit supports, so the call
    // reports the real version rather than the one of an older system.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
    return DescribeSystem(version, system);
}
