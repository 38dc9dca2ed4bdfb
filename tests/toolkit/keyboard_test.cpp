// Tab and Shift+Tab among the visible, enabled buttons, check boxes and
// edits; Space and Enter click what has the focus; Esc does nothing.
#include "common/window_frame.h"
#include "core/toolkit_state.h"
#include "event_log.h"
#include "toolkit_test_window.h"
#include "window/window.h"

#include <gtest/gtest.h>

namespace {

const kit::Element* Focused(const TestWindow& window)
{
    kit::Window* w = kit::Toolkit::Get().Handles().FindWindow(window.Handle());
    return w != nullptr ? w->Input().Focused() : nullptr;
}

std::wstring FocusedId(const TestWindow& window)
{
    const kit::Element* e = Focused(window);
    return e != nullptr ? e->IdName() : L"";
}

void SetShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(Keyboard, TabVisitsTheUsableElementsInLayoutOrder)
{
    TestWindow window;
    const std::wstring expected[] = {L"ID_BtnMin",        L"ID_BtnClose",     L"ID_EditRoute",
                                     L"ID_BtnChangeRoute", L"ID_EditNote",    L"ID_BtnCekAccept",
                                     L"ID_BtnCustom",     L"ID_BtnQuickInstall", L"ID_BtnMin"};
    for (const std::wstring& id : expected) {
        window.Key(VK_TAB);
        EXPECT_EQ(id, FocusedId(window));
    }
    // The edits really hold the keyboard focus when reached.
    window.Key(VK_TAB);
    window.Key(VK_TAB);
    EXPECT_EQ(window.EditControl(window.Find(L"ID_EditRoute")), GetFocus());

    SetShift(true);
    window.Key(VK_TAB);
    SetShift(false);
    EXPECT_EQ(L"ID_BtnClose", FocusedId(window));
}

TEST(Keyboard, SpaceAndEnterClickTheFocusedButton)
{
    TestWindow window;
    EventLog log;
    HELE custom = window.Find(L"ID_BtnCustom");
    BindElementEvent(custom, XE_BNCLICK, &log, &EventLog::OnClick, "&EventLog::OnClick");
    XEle_Enable(window.Find(L"ID_EditRoute"), FALSE);
    for (int i = 0; i < 10 && FocusedId(window) != L"ID_BtnCustom"; ++i)
        window.Key(VK_TAB);
    ASSERT_EQ(L"ID_BtnCustom", FocusedId(window));
    window.Key(VK_SPACE);
    window.Key(VK_RETURN);
    ASSERT_EQ(2u, log.records.size());
    EXPECT_EQ(custom, log.records[1].element);
    window.Key(VK_ESCAPE);
    EXPECT_EQ(2u, log.records.size());
    EXPECT_TRUE(IsWindow(window.Hwnd()));
}

TEST(Keyboard, SpaceTogglesTheFocusedCheckBox)
{
    TestWindow window;
    EventLog log;
    HELE box = window.Find(L"ID_BtnCekAccept");
    BindElementEvent(box, XE_BUTTON_CHECK, &log, &EventLog::OnCheck, "&EventLog::OnCheck");
    for (int i = 0; i < 8 && FocusedId(window) != L"ID_BtnCekAccept"; ++i)
        window.Key(VK_TAB);
    window.Key(VK_SPACE);
    EXPECT_FALSE(XBtn_IsCheck(box));
    ASSERT_EQ(1u, log.records.size());
    EXPECT_EQ(FALSE, log.records[0].a);
}

TEST(Keyboard, EscInAnEditDoesNothing)
{
    TestWindow window;
    HELE note = window.Find(L"ID_EditNote");
    window.Type(note, L"abc");
    SendMessageW(window.EditControl(note), WM_KEYDOWN, VK_ESCAPE, 1);
    SendMessageW(window.EditControl(note), WM_CHAR, 0x1B, 1);
    wchar_t text[16] = {};
    XRichEdit_GetText(note, text, 16);
    EXPECT_STREQ(L"abc", text);
    EXPECT_TRUE(IsWindow(window.Hwnd()));
}

TEST(Keyboard, FocusSkipsWhatBecomesHiddenOrDisabled)
{
    TestWindow window;
    window.Key(VK_TAB);
    ASSERT_EQ(L"ID_BtnMin", FocusedId(window));
    XEle_Enable(window.Find(L"ID_BtnMin"), FALSE);
    EXPECT_EQ(nullptr, Focused(window)) << "a disabled element gives the focus up";
    XEle_ShowEle(window.Find(L"ID_EleFirstPage"), FALSE);
    window.Key(VK_TAB);
    EXPECT_EQ(L"ID_BtnClose", FocusedId(window));
    window.Key(VK_TAB);
    EXPECT_EQ(L"ID_BtnClose", FocusedId(window)) << "the hidden page's elements are skipped";
}

TEST(Keyboard, TheFocusedButtonShowsARing)
{
    TestWindow window;
    kit::Window* w = kit::Toolkit::Get().Handles().FindWindow(window.Handle());
    const RECT quick = window.Rect(window.Find(L"ID_BtnQuickInstall"));
    const POINT probe{(quick.left + quick.right) / 2, quick.bottom + w->Scale().Px(2)};  // in the ring
    UpdateWindow(window.Hwnd());
    const kit::Color before = w->BackBuffer().PixelAt(probe.x, probe.y);
    EXPECT_EQ(kit::Color::Rgb(0xFFFFFF), before);
    while (FocusedId(window) != L"ID_BtnQuickInstall")
        window.Key(VK_TAB);
    UpdateWindow(window.Hwnd());
    const kit::Color after = w->BackBuffer().PixelAt(probe.x, probe.y);
    EXPECT_LT(after.r, 200) << "the ring is blue";
    EXPECT_GT(after.b, after.r);
}
