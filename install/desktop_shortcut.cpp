#include "com_apartment.h"
#include "install_window.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

// The desktop folder of the user the installer runs as; empty when the shell
// cannot tell it.
std::wstring DesktopFolder()
{
    PIDLIST_ABSOLUTE desktop = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)))
        return std::wstring();
    wchar_t path[MAX_PATH] = {};
    BOOL found = SHGetPathFromIDListW(desktop, path);
    CoTaskMemFree(desktop);
    return found ? std::wstring(path) : std::wstring();
}

}  // namespace

std::wstring CInstall::CreateDesktopShortcut()
{
    ComApartment com;
    if (!com.Ready())
        return std::wstring();

    IShellLinkW* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&rawLink))))
        return std::wstring();
    ComRef<IShellLinkW> link(rawLink);

    std::wstring folder = m_strRoute + L"\\" + L"Vemora" + L"\\";
    link->SetPath((folder + L"Morvane" + L".exe").c_str());

    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
        return std::wstring();
    ComRef<IPersistFile> file(rawFile);

    std::wstring desktop = DesktopFolder();
    if (desktop.empty())
        return std::wstring();
    std::wstring shortcut = desktop + L"\\" + L"Morvane" + L".lnk";

    link->SetWorkingDirectory(folder.c_str());
    file->Save(shortcut.c_str(), TRUE);
    return shortcut;
}
