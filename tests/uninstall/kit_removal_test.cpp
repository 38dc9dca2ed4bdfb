// The whole life of an installation, with the real programs and the kit's
// real removal script: install.exe installs from a copy of the kit to the
// default route and starts the product; the user adds files of their own; the
// installed uninstall.exe is taken through to say-goodbye. Afterwards every
// file the kit installed and the desktop shortcut are gone, the product was
// stopped, and the user's files are still there.
#include "installer_session.h"
#include "uninstaller_session.h"

#include "msaa_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

const wchar_t kDefaultRoute[] = L"C:\\Program Files (x86)";
const DWORD kStepTimeoutMs = 30000;

bool WaitVisible(HWND window, const wchar_t* idName, DWORD timeoutMs = kStepTimeoutMs)
{
    return msaa::WaitForElement(window, idName, [](const msaa::Element& e) { return e.Visible(); },
                                timeoutMs);
}

// Quick install with the default route, to the last page's button, which
// makes the desktop shortcut and starts the product through it.
void InstallWithTheKit(InstallerSession& installer, const std::wstring& installed)
{
    ASSERT_TRUE(installer.Start());
    double secondsToWindow = 0;
    HWND window = installer.WaitForWindow(kStepTimeoutMs, secondsToWindow);
    ASSERT_NE(window, nullptr) << "no installer window";
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnCekAccept"));
    ASSERT_TRUE(msaa::WaitForElement(window, L"ID_BtnQuickInstall",
                                     [](const msaa::Element& e) { return e.Enabled(); }, 10000));
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnQuickInstall"));
    ASSERT_TRUE(WaitVisible(window, L"ID_BtnTryRightnow"));
    std::vector<std::wstring> kitFiles = FilesBelow(installer.Kit().Product());
    ASSERT_TRUE(WaitUntil([&] { return FilesBelow(installed) == kitFiles; }, kStepTimeoutMs))
        << "the copy did not complete";
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnTryRightnow"));
    ASSERT_TRUE(installer.Process().WaitForExit(kStepTimeoutMs));
    ASSERT_TRUE(WaitUntil([&] { return !LogLines(installed + L"\\Morvane.log").empty(); },
                          kStepTimeoutMs))
        << "the product did not start";
}

}  // namespace

TEST(KitRemoval, InstallThenUninstallLeavesOnlyTheUsersFiles)
{
    InstallLeftovers leftovers(kDefaultRoute);
    const std::wstring installed = leftovers.ProductFolder();
    InstallerSession installer;
    InstallWithTheKit(installer, installed);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(FileExists(InstallLeftovers::DesktopLink()));
    ASSERT_FALSE(ProcessIdsNamed(L"Morvane.exe").empty());
    const std::vector<std::wstring> kitFiles = FilesBelow(installed);
    ASSERT_TRUE(std::find(kitFiles.begin(), kitFiles.end(), L"Uninstall.bat") != kitFiles.end());

    // The user's own things, beside and inside the kit's folders.
    const std::wstring notes = L"我的配置 (备份).txt";
    const std::wstring ownFile = L"Exports\\2024 报表.csv";
    const std::wstring inSkin = L"InstallSkin\\my theme.xml";
    CreateFolders(installed + L"\\Exports");
    ASSERT_TRUE(WriteFileBytes(installed + L"\\" + notes, "mine"));
    ASSERT_TRUE(WriteFileBytes(installed + L"\\" + ownFile, "a,b\r\n"));
    ASSERT_TRUE(WriteFileBytes(installed + L"\\" + inSkin, "<theme/>"));

    // The installed uninstaller, started from its folder, to say-goodbye. It
    // posts to the service's address, which does not resolve here.
    ChildProcess uninstaller;
    ChildProcess::Options options;
    options.workingFolder = installed;
    options.environment.push_back(L"KIT_SPY_LOG=" + installer.SpyLog());
    ASSERT_TRUE(uninstaller.Start(installed + L"\\uninstall.exe", L"", options));
    HWND window = WaitForUninstallerWindow(uninstaller.Id(), kStepTimeoutMs);
    ASSERT_NE(window, nullptr) << "no uninstaller window";
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnGiveup"));
    ASSERT_TRUE(WaitVisible(window, L"ID_EleUninstallPage3"));
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_CekRepeatMore"));
    ASSERT_TRUE(msaa::TypeText(window, L"ID_EditOtherReason", L"暂时不需要了"));
    DWORD pressed = GetTickCount();
    ASSERT_TRUE(msaa::DoDefaultAction(window, L"ID_BtnSayGoodbye", kStepTimeoutMs));
    ASSERT_TRUE(uninstaller.WaitForExit(kStepTimeoutMs)) << "the uninstaller did not close";
    std::printf("say-goodbye to the uninstaller's end, posting to an address that does not "
                "resolve: %lu ms\n", static_cast<unsigned long>(GetTickCount() - pressed));

    // The script deletes itself last.
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(installed + L"\\Uninstall.bat"); }, 60000))
        << "the removal script did not finish";

    EXPECT_FALSE(FileExists(InstallLeftovers::DesktopLink()));
    EXPECT_TRUE(ProcessIdsNamed(L"Morvane.exe").empty());
    std::vector<std::wstring> spy = installer.SpyLines();
    EXPECT_TRUE(std::any_of(spy.begin(), spy.end(), [](const std::wstring& line) {
        return line.find(L"taskkill.exe\" /f /im Morvane.exe") != std::wstring::npos;
    })) << "the script did not stop the product";

    // What is left: the user's files, and the log the product wrote itself.
    std::vector<std::wstring> expected = {notes, ownFile, inSkin, L"Morvane.log"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelow(installed), expected);
    for (const auto& file : kitFiles) {
        if (file != L"Morvane.log") {
            EXPECT_FALSE(FileExists(installed + L"\\" + file)) << ToUtf8(file);
        }
    }
    EXPECT_FALSE(FolderExists(installed + L"\\mainSkin"));
    EXPECT_TRUE(FolderExists(kDefaultRoute));
}
