// Null, made-up, wrong-kind and stale handles are ignored by every call.
#include "toolkit_test_window.h"

#include <gtest/gtest.h>

namespace {

void CallEverything(HXCGUI h)
{
    wchar_t buffer[8] = {L'x'};
    EXPECT_EQ(nullptr, XWnd_GetHWND(h));
    XWnd_AdjustLayout(h);
    XWnd_AdjustLayoutObject(h);
    EXPECT_FALSE(XWnd_ShowWindow(h, SW_SHOW));
    XWnd_RedrawWnd(h, TRUE);
    XWnd_CloseWindow(h);
    EXPECT_EQ(nullptr, XC_GetObjectByID(h, 214));
    XEle_ShowEle(h, TRUE);
    EXPECT_FALSE(XEle_IsShow(h));
    XEle_Enable(h, TRUE);
    XEle_RedrawEle(h, TRUE);
    EXPECT_FALSE(XBtn_IsCheck(h));
    XBtn_SetText(h, L"x");
    XShapeText_SetText(h, L"x");
    XRichEdit_SetText(h, L"x");
    EXPECT_EQ(0, XRichEdit_GetText(h, buffer, 8));
    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(h, TRUE);
    XRichEdit_SetDefaultText(h, L"x");
    XRichEdit_SetDefaultTextColor(h, 0xFF, 255);
    XRichEdit_EnableMultiLine(h, TRUE);
    XRichEdit_EnableAutoWrap(h, TRUE);
    XSView_ShowSBarV(h, FALSE);
    XProgBar_SetRange(h, 100);
    XProgBar_SetSpaceTwo(h, 19, 19);
    XProgBar_SetPos(h, 50);
}

}  // namespace

TEST(HandleSafety, NullAndMadeUpHandlesAreIgnored)
{
    for (std::uintptr_t value : {std::uintptr_t{0}, std::uintptr_t{1}, std::uintptr_t{0x1000},
                                 std::uintptr_t{0x5C000003}, ~std::uintptr_t{0}}) {
        SCOPED_TRACE(value);
        CallEverything(reinterpret_cast<HXCGUI>(value));
    }
    XC_LoadResource(nullptr, nullptr);
    XRichEdit_SetText(nullptr, nullptr);
}

TEST(HandleSafety, HandlesOfAClosedWindowAreIgnored)
{
    HXCGUI window, button, edit;
    {
        TestWindow w;
        window = w.Handle();
        button = w.Find(L"ID_BtnQuickInstall");
        edit = w.Find(L"ID_EditRoute");
    }
    CallEverything(window);
    CallEverything(button);
    CallEverything(edit);
}

TEST(HandleSafety, CallsOfAnotherKindDoNothing)
{
    TestWindow window;
    HELE button = window.Find(L"ID_BtnQuickInstall");
    HELE text = window.Find(L"ID_TextStatus");
    HELE edit = window.Find(L"ID_EditRoute");
    wchar_t buffer[8] = {};
    EXPECT_EQ(0, XRichEdit_GetText(button, buffer, 8));  // a button is no edit
    XShapeText_SetText(button, L"changed");
    XBtn_SetText(text, L"changed");
    XProgBar_SetPos(edit, 3);
    EXPECT_EQ(nullptr, XWnd_GetHWND(button));  // an element is no window
    XEle_ShowEle(window.Handle(), FALSE);      // a window is no element
    EXPECT_TRUE(IsWindowVisible(window.Hwnd()));
    EXPECT_EQ(0, XRichEdit_GetText(edit, nullptr, 8));
    EXPECT_EQ(0, XRichEdit_GetText(edit, buffer, 0));
    EXPECT_EQ(0, XRichEdit_GetText(edit, buffer, -5));
}
