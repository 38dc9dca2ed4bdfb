#include "install_location.h"

#include "com_apartment.h"
#include "install_window.h"

#include "common/text_conversion.h"

#include <shlobj.h>

#include <cstdint>
#include <vector>

namespace {

// The box is read whole: a route cut short would install somewhere else.
constexpr int kRouteBoxUnits = 32768;

}  // namespace

std::wstring DrivePartOf(const std::wstring& route)
{
    return route.substr(0, route.find(L'\\'));
}

std::wstring DriveLetterOf(const std::wstring& drivePart)
{
    return drivePart.substr(0, drivePart.find(L':'));
}

std::wstring FreeSpaceText(bool known, uint64_t freeBytes)
{
    int32_t gibibytes = 0;
    if (known) {
        double n = static_cast<double>(freeBytes) * 0.0009765625 * 0.0009765625 * 0.0009765625;
        gibibytes = n < static_cast<double>(INT32_MAX) ? static_cast<int32_t>(n) : INT32_MAX;
    }
    return IntToWide(gibibytes) + L"G";
}

std::wstring FormatFreeSpace(const std::wstring& path)
{
    ULARGE_INTEGER available = {}, total = {}, totalFree = {};
    bool known = GetDiskFreeSpaceExW(path.c_str(), &available, &total, &totalFree) != 0;
    return FreeSpaceText(known, available.QuadPart);
}

std::wstring CInstall::ReadRouteBox()
{
    std::vector<wchar_t> buffer(kRouteBoxUnits, L'\0');
    XRichEdit_GetText(m_hEditRoute, buffer.data(), kRouteBoxUnits);
    buffer.back() = L'\0';
    return buffer.data();
}

void CInstall::ShowDriveInfo(const std::wstring& route)
{
    std::wstring drive = DrivePartOf(route);
    XShapeText_SetText(m_hTextLeave, FormatFreeSpace(drive).c_str());
    XShapeText_SetText(m_hTextLocation, (DriveLetterOf(drive) + L"盘可用空间：").c_str());
}

int CInstall::OnRichEditChange(BOOL* pbHandled)
{
    ShowDriveInfo(ReadRouteBox());
    XEle_RedrawEle(m_hElePage2, TRUE);
    *pbHandled = TRUE;
    return 0;
}

bool CInstall::PickRouteInDialog()
{
    ComApartment com;  // the shell's folder dialog needs COM on this thread
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW dialog = {};
    dialog.pszDisplayName = displayName;
    dialog.lpszTitle = L"从下面选择文件或文件夹:";
    dialog.ulFlags = BIF_BROWSEINCLUDEFILES;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&dialog);
    if (item == nullptr)
        return false;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(item, path))
        path[0] = L'\0';
    CoTaskMemFree(item);

    m_strRoute = path;
    ShowDriveInfo(m_strRoute);
    XEle_RedrawEle(m_hElePage2, TRUE);
    if (m_strRoute.empty())
        m_strRoute = kDefaultRoute;
    XRichEdit_SetText(m_hEditRoute, m_strRoute.c_str());
    return true;
}
