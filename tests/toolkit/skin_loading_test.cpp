// Skins: the test skin loads with every element kind; IDs and lookups;
// missing and broken files give 0 with a reason that names the place.
#include "test_files.h"
#include "toolkit_test_window.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const kSkinIds[] = {
    L"ID_EleCaption",   L"ID_EleLogo",        L"ID_TextTitle",      L"ID_BtnMin",
    L"ID_BtnClose",     L"ID_EleFirstPage",   L"ID_TextHeading",    L"ID_EditRoute",
    L"ID_BtnChangeRoute", L"ID_TextLeave",    L"ID_EditNote",       L"ID_ProgressBar",
    L"ID_TextProgress", L"ID_TextStatus",     L"ID_BtnCekAccept",   L"ID_CekDisabled",
    L"ID_BtnDisabled",  L"ID_BtnHidden",      L"ID_BtnCustom",      L"ID_BtnQuickInstall",
    L"ID_ElePage2",     L"ID_TextDone",       L"ID_BtnTryRightnow"};

std::wstring WriteLayout(const ScopedTempFolder& folder, const std::string& xml)
{
    const std::wstring path = folder / L"layout.xml";
    WriteFileBytes(path, xml);
    return path;
}

}  // namespace

TEST(SkinLoading, EveryIdOfTheSkinFindsItsElement)
{
    TestWindow window;
    ASSERT_TRUE(window.Loaded()) << XC_GetLastLoadError();
    EXPECT_STREQ(L"", XC_GetLastLoadError());
    for (const wchar_t* id : kSkinIds) {
        SCOPED_TRACE(id);
        const int value = XC_GetResIDValue(id);
        EXPECT_NE(0, value);
        EXPECT_NE(nullptr, XC_GetObjectByID(window.Handle(), value));
    }
    EXPECT_EQ(214, XC_GetResIDValue(L"ID_BtnQuickInstall"));  // the number resource.xml gives
}

TEST(SkinLoading, UnknownIdsGiveZeroAndNull)
{
    TestWindow window;
    ASSERT_TRUE(window.Loaded());
    EXPECT_EQ(0, XC_GetResIDValue(L"ID_NotInTheSkin"));
    EXPECT_EQ(0, XC_GetResIDValue(L""));
    EXPECT_EQ(0, XC_GetResIDValue(nullptr));
    EXPECT_EQ(nullptr, XC_GetObjectByID(window.Handle(), 0));
    EXPECT_EQ(nullptr, XC_GetObjectByID(window.Handle(), 999999));
    EXPECT_EQ(nullptr, XC_GetObjectByID(nullptr, 214));
}

TEST(SkinLoading, StartStatesComeFromTheLayout)
{
    TestWindow window;
    ASSERT_TRUE(window.Loaded());
    EXPECT_TRUE(XEle_IsShow(window.Find(L"ID_EleFirstPage")));
    EXPECT_FALSE(XEle_IsShow(window.Find(L"ID_ElePage2")));
    EXPECT_FALSE(XEle_IsShow(window.Find(L"ID_BtnHidden")));
    EXPECT_TRUE(XBtn_IsCheck(window.Find(L"ID_BtnCekAccept")));
    EXPECT_FALSE(XBtn_IsCheck(window.Find(L"ID_CekDisabled")));
    wchar_t text[64] = {};
    EXPECT_EQ(22, XRichEdit_GetText(window.Find(L"ID_EditRoute"), text, 64));
    EXPECT_STREQ(L"C:\\Program Files (x86)", text);
    EXPECT_EQ(7, XRichEdit_GetText(window.Find(L"ID_EditRoute"), text, 8));  // cut to the buffer
    EXPECT_STREQ(L"C:\\Prog", text);
    // The layout's coordinates, in 96-DPI pixels relative to the parent page at y 49.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const RECT quick = window.Rect(window.Find(L"ID_BtnQuickInstall"));
    EXPECT_EQ(MulDiv(404, dpi, 96), quick.left);
    EXPECT_EQ(MulDiv(49 + 364, dpi, 96), quick.top);
    EXPECT_EQ(MulDiv(404 + 196, dpi, 96), quick.right);
}

TEST(SkinLoading, MissingLayoutGivesZero)
{
    EXPECT_EQ(nullptr, XC_LoadLayout(L"C:\\no such folder\\ClickInstall.xml", nullptr));
    EXPECT_NE(std::wstring::npos, std::wstring(XC_GetLastLoadError()).find(L"cannot read"));
    EXPECT_EQ(nullptr, XC_LoadLayout(nullptr, nullptr));
    EXPECT_FALSE(XC_LoadResource(L"C:\\no such folder\\resource.xml", L"C:\\no such folder"));
}

struct BrokenLayout {
    const char* name;
    const char* xml;
    const wchar_t* reasonPart;  // found in the message, with the line
    const wchar_t* line;
};

class BrokenLayouts : public ::testing::TestWithParam<BrokenLayout> {};

TEST_P(BrokenLayouts, GiveZeroAndSayWhere)
{
    TestWindow resources;  // the test skin's resources are loaded
    ScopedTempFolder folder;
    const std::wstring path = WriteLayout(folder, GetParam().xml);
    EXPECT_EQ(nullptr, XC_LoadLayout(path.c_str(), nullptr));
    const std::wstring error = XC_GetLastLoadError();
    EXPECT_NE(std::wstring::npos, error.find(GetParam().reasonPart)) << error;
    EXPECT_NE(std::wstring::npos, error.find(std::wstring(L"layout.xml:") + GetParam().line)) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenLayouts,
    ::testing::Values(
        BrokenLayout{"NotXml", "<window width=\"10\">\n<button>\n</window>", L"", L"3:"},
        BrokenLayout{"Empty", "", L"", L"1:"},
        BrokenLayout{"RootNotWindow", "<page/>", L"root must be <window>", L"1:"},
        BrokenLayout{"UnknownTag", "<window>\n  <slider/>\n</window>", L"unknown element <slider>", L"2:"},
        BrokenLayout{"UnknownAttribute", "<window>\n<button widht=\"3\"/>\n</window>", L"widht", L"2:"},
        BrokenLayout{"BadNumber", "<window>\n<text x=\"12px\"/>\n</window>", L"attribute x", L"2:"},
        BrokenLayout{"BadBool", "<window>\n<text visible=\"yes\"/>\n</window>", L"true or false", L"2:"},
        BrokenLayout{"UnknownColour", "<window>\n<text color=\"sky\"/>\n</window>", L"attribute color", L"2:"},
        BrokenLayout{"UnknownFont", "<window>\n\n<text font=\"huge\"/>\n</window>", L"no font", L"3:"},
        BrokenLayout{"CheckedOnButton", "<window><button checked=\"true\"/></window>", L"checked", L"1:"},
        BrokenLayout{"WindowSize", "<window width=\"0\"/>", L"attribute width", L"1:"}),
    [](const ::testing::TestParamInfo<BrokenLayout>& info) { return info.param.name; });

TEST(SkinLoading, BrokenResourceFileIsRefusedWhole)
{
    ScopedTempFolder folder;
    WriteFileBytes(folder / L"resource.xml",
                   "<resource>\n<id name=\"ID_A\" value=\"5\"/>\n<id name=\"ID_B\" value=\"5\"/>\n</resource>");
    EXPECT_FALSE(XC_LoadResource((folder / L"resource.xml").c_str(), folder.Path().c_str()));
    const std::wstring error = XC_GetLastLoadError();
    EXPECT_NE(std::wstring::npos, error.find(L"resource.xml:3:")) << error;
    EXPECT_NE(std::wstring::npos, error.find(L"already ID_A")) << error;
}

TEST(SkinLoading, UndeclaredIdsGetNumbersOfTheirOwn)
{
    TestWindow resources;
    ScopedTempFolder folder;
    const std::wstring path =
        WriteLayout(folder, u8"<window><button id=\"ID_BtnOnlyInLayout\" text=\"确定\"/></window>");
    HWINDOW window = XC_LoadLayout(path.c_str(), nullptr);
    ASSERT_NE(nullptr, window) << XC_GetLastLoadError();
    const int id = XC_GetResIDValue(L"ID_BtnOnlyInLayout");
    EXPECT_GE(id, 100000);
    EXPECT_NE(nullptr, XC_GetObjectByID(window, id));
    XWnd_CloseWindow(window);
}
