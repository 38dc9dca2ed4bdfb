// The installer's start-up, the real install.exe under Wine: the running
// product is stopped first, Windows XP is refused with a message, and a
// missing layout ends the program silently.
#include "installer_session.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const wchar_t kStopCommand[] = L"taskkill|taskkill /f /t /im Morvane.exe";
const wchar_t kRefusalTitle[] = L"提示框";
const wchar_t kRefusalText[] = L"非常抱歉，当前版本不支持Windows XP系统！请使用win7及以上系统";
const wchar_t kInstallerTitle[] = L"安装程序";

// Makes Wine report Windows XP to install.exe alone, for one scope.
class ScopedWindowsXPForInstaller {
public:
    ScopedWindowsXPForInstaller()
    {
        DWORD disposition = 0;
        LONG created = RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                       nullptr, &m_key, &disposition);
        EXPECT_EQ(created, ERROR_SUCCESS);
        m_createdKey = disposition == REG_CREATED_NEW_KEY;
        static const wchar_t kVersion[] = L"winxp";
        EXPECT_EQ(RegSetValueExW(m_key, L"Version", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(kVersion), sizeof kVersion),
                  ERROR_SUCCESS);
    }
    ~ScopedWindowsXPForInstaller()
    {
        RegDeleteValueW(m_key, L"Version");
        RegCloseKey(m_key);
        if (m_createdKey)
            RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    }
    ScopedWindowsXPForInstaller(const ScopedWindowsXPForInstaller&) = delete;
    ScopedWindowsXPForInstaller& operator=(const ScopedWindowsXPForInstaller&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Wine\\AppDefaults\\install.exe";
    HKEY m_key = nullptr;
    bool m_createdKey = false;
};

HWND FindWindowTitled(DWORD processId, const std::wstring& title)
{
    for (HWND window : VisibleWindowsOf(processId)) {
        if (WindowText(window) == title)
            return window;
    }
    return nullptr;
}

struct DialogControls {
    std::vector<std::wstring> texts;  // visible static texts
    std::vector<HWND> buttons;        // visible buttons
    int icons = 0;                    // icon controls showing an icon
};

BOOL CALLBACK CollectControl(HWND child, LPARAM context)
{
    auto* controls = reinterpret_cast<DialogControls*>(context);
    if (!IsWindowVisible(child))
        return TRUE;
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (lstrcmpiW(className, L"Button") == 0) {
        controls->buttons.push_back(child);
    } else if (lstrcmpiW(className, L"Static") == 0) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            if (SendMessageW(child, STM_GETICON, 0, 0) != 0)
                ++controls->icons;
        }
        else
            controls->texts.push_back(WindowText(child));
    }
    return TRUE;
}

DialogControls ControlsOf(HWND dialog)
{
    DialogControls controls;
    EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

// A stand-in product from the kit, running as a user would have left it.
bool StartProduct(InstallerSession& session, ChildProcess& product)
{
    if (!product.Start(session.Kit().Product() + L"\\Morvane.exe", L""))
        return false;
    return WaitUntil([&] { return !VisibleWindowsOf(product.Id()).empty(); }, 15000);
}

}  // namespace

TEST(InstallerStartup, OnWindowsXPRefusesWithTheMessageAndShowsNoWindow)
{
    InstallerSession session;
    ChildProcess product;
    ASSERT_TRUE(StartProduct(session, product));
    ScopedWindowsXPForInstaller xp;
    ASSERT_TRUE(session.Start());
    DWORD installer = session.Process().Id();

    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindWindowTitled(installer, kRefusalTitle)) != nullptr; },
                          20000));
    // Stopped before the refusal, on XP too: the line arrives while the box is up.
    EXPECT_TRUE(session.WaitForSpyLine(kStopCommand, 15000));
    EXPECT_TRUE(product.WaitForExit(15000)) << "the running product was not stopped";

    DialogControls controls = ControlsOf(box);
    EXPECT_NE(std::find(controls.texts.begin(), controls.texts.end(), kRefusalText),
              controls.texts.end());
    ASSERT_EQ(controls.buttons.size(), 1u);
    EXPECT_EQ(GetDlgCtrlID(controls.buttons[0]), IDOK);
    EXPECT_EQ(controls.icons, 0);

    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(controls.buttons[0]));
    bool windowShown = false;
    bool ended = WaitUntil([&] {
        windowShown = windowShown || FindWindowTitled(installer, kInstallerTitle) != nullptr;
        return !session.Process().IsRunning();
    }, 15000);
    EXPECT_TRUE(ended) << "the installer kept running after the refusal";
    EXPECT_FALSE(windowShown);
    EXPECT_EQ(session.SpyLines(), std::vector<std::wstring>{kStopCommand});
}

TEST(InstallerStartup, OnWindows7ShowsTheWindowAfterStoppingTheProduct)
{
    InstallerSession session;
    ChildProcess product;
    ASSERT_TRUE(StartProduct(session, product));
    ASSERT_TRUE(session.Start());
    double seconds = 0;
    HWND window = session.WaitForWindow(30000, seconds);
    ASSERT_NE(window, nullptr) << "no installer window";
    EXPECT_EQ(FindWindowTitled(session.Process().Id(), kRefusalTitle), nullptr);
    EXPECT_TRUE(session.WaitForSpyLine(kStopCommand, 15000));
    EXPECT_TRUE(product.WaitForExit(15000)) << "the running product was not stopped";
}

TEST(InstallerStartup, MissingLayoutEndsSilentlyAfterStoppingTheProduct)
{
    InstallerSession session;
    ASSERT_TRUE(DeleteFileW((session.Kit() / L"InstallSkin\\ClickInstall.xml").c_str()));
    ChildProcess product;
    ASSERT_TRUE(StartProduct(session, product));
    ASSERT_TRUE(session.Start());
    DWORD installer = session.Process().Id();

    bool anyWindow = false;
    bool ended = WaitUntil([&] {
        anyWindow = anyWindow || !VisibleWindowsOf(installer).empty();
        return !session.Process().IsRunning();
    }, 20000);
    EXPECT_TRUE(ended) << "the installer kept running without its layout";
    EXPECT_FALSE(anyWindow) << "a window or a message was shown";
    EXPECT_TRUE(session.WaitForSpyLine(kStopCommand, 15000));
    EXPECT_TRUE(product.WaitForExit(15000)) << "the running product was not stopped";
}
