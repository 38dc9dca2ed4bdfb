// Real input to the native window reaches the handlers bound to elements:
// clicks (34), check changes (35), typing (161) and SetPos (64).
#include "common/window_frame.h"
#include "event_log.h"
#include "toolkit_test_window.h"

#include <gtest/gtest.h>

TEST(ElementEvents, ClickRaises34WithTheElementFirst)
{
    TestWindow window;
    EventLog log;
    HELE button = window.Find(L"ID_BtnQuickInstall");
    BindElementEvent(button, XE_BNCLICK, &log, &EventLog::OnClick, "&EventLog::OnClick");
    window.Click(button);
    ASSERT_EQ(1u, log.records.size());
    EXPECT_EQ(XE_BNCLICK, log.records[0].code);
    EXPECT_EQ(button, log.records[0].element);
}

TEST(ElementEvents, ClickWithoutTheElementReachesAPlainHandler)
{
    TestWindow window;
    EventLog log;
    HELE button = window.Find(L"ID_BtnCustom");
    BindElementEvent(button, XE_BNCLICK, &log, &EventLog::OnClickPlain, "&EventLog::OnClickPlain");
    window.Click(button);
    ASSERT_EQ(1u, log.records.size());
    EXPECT_EQ(nullptr, log.records[0].element);
}

TEST(ElementEvents, ButtonUpOutsideTheButtonIsNoClick)
{
    TestWindow window;
    EventLog log;
    HELE button = window.Find(L"ID_BtnCustom");
    BindElementEvent(button, XE_BNCLICK, &log, &EventLog::OnClick, "&EventLog::OnClick");
    const POINT inside = window.Centre(button);
    SendMessageW(window.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    SendMessageW(window.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(inside.x, 5));
    EXPECT_TRUE(log.records.empty());
}

struct NoInputCase {
    const char* name;
    const wchar_t* id;
    void (*prepare)(HELE element, HELE page);
};

class ElementsWithoutInput : public ::testing::TestWithParam<NoInputCase> {};

TEST_P(ElementsWithoutInput, RaiseNothing)
{
    TestWindow window;
    EventLog log;
    HELE element = window.Find(GetParam().id);
    GetParam().prepare(element, window.Find(L"ID_EleFirstPage"));
    BindElementEvent(element, XE_BNCLICK, &log, &EventLog::OnClick, "&EventLog::OnClick");
    BindElementEvent(element, XE_BUTTON_CHECK, &log, &EventLog::OnCheck, "&EventLog::OnCheck");
    const BOOL checked = XBtn_IsCheck(element);
    window.Click(element);
    window.Key(VK_SPACE);
    PumpMessages();
    EXPECT_TRUE(log.records.empty());
    EXPECT_EQ(checked, XBtn_IsCheck(element));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElementsWithoutInput,
    ::testing::Values(
        NoInputCase{"DisabledInTheLayout", L"ID_BtnDisabled", [](HELE, HELE) {}},
        NoInputCase{"HiddenInTheLayout", L"ID_BtnHidden", [](HELE, HELE) {}},
        NoInputCase{"DisabledCheckBox", L"ID_CekDisabled", [](HELE, HELE) {}},
        NoInputCase{"DisabledByTheProgram", L"ID_BtnQuickInstall",
                    [](HELE e, HELE) { XEle_Enable(e, FALSE); }},
        NoInputCase{"HiddenByTheProgram", L"ID_BtnQuickInstall",
                    [](HELE e, HELE) { XEle_ShowEle(e, FALSE); }},
        NoInputCase{"OnAHiddenPage", L"ID_BtnCekAccept",
                    [](HELE, HELE page) { XEle_ShowEle(page, FALSE); }},
        NoInputCase{"OnADisabledPage", L"ID_BtnCustom",
                    [](HELE, HELE page) { XEle_Enable(page, FALSE); }}),
    [](const ::testing::TestParamInfo<NoInputCase>& info) { return info.param.name; });

TEST(ElementEvents, CheckBoxTogglesAndRaises35WithTheNewState)
{
    TestWindow window;
    EventLog log;
    HELE box = window.Find(L"ID_BtnCekAccept");
    BindElementEvent(box, XE_BUTTON_CHECK, &log, &EventLog::OnCheck, "&EventLog::OnCheck");
    ASSERT_TRUE(XBtn_IsCheck(box));
    window.Click(box);
    EXPECT_FALSE(XBtn_IsCheck(box));
    window.Click(box);
    EXPECT_TRUE(XBtn_IsCheck(box));
    ASSERT_EQ(2u, log.records.size());
    EXPECT_EQ(XE_BUTTON_CHECK, log.records[0].code);
    EXPECT_EQ(box, log.records[0].element);
    EXPECT_EQ(FALSE, log.records[0].a);
    EXPECT_EQ(TRUE, log.records[1].a);
}

TEST(ElementEvents, TypingRaises161OnlyOnceEnabled)
{
    TestWindow window;
    EventLog log;
    HELE edit = window.Find(L"ID_EditRoute");
    BindElementEvent(edit, XE_RICHEDIT_CHANGE, &log, &EventLog::OnEditChange, "&EventLog::OnEditChange");
    SendMessageW(window.EditControl(edit), EM_SETSEL, 0, -1);
    window.Type(edit, L"D");
    EXPECT_TRUE(log.records.empty()) << "161 before XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE";

    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(edit, TRUE);
    window.Type(edit, L":\\中文");
    EXPECT_EQ(4u, log.records.size());  // one per character
    wchar_t text[32] = {};
    XRichEdit_GetText(edit, text, 32);
    EXPECT_STREQ(L"D:\\中文", text);

    log.records.clear();
    XRichEdit_SetText(edit, L"E:\\");
    EXPECT_TRUE(log.records.empty()) << "the program's own SetText raises nothing";
    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(edit, FALSE);
    window.Type(edit, L"x");
    EXPECT_TRUE(log.records.empty());
}

TEST(ElementEvents, PasteIntoAnEditRaises161)
{
    TestWindow window;
    EventLog log;
    HELE edit = window.Find(L"ID_EditNote");
    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(edit, TRUE);
    BindElementEvent(edit, XE_RICHEDIT_CHANGE, &log, &EventLog::OnEditChange, "&EventLog::OnEditChange");
    const std::wstring pasted = L"切换IP失败\r\n第二行";
    ASSERT_TRUE(OpenClipboard(window.Hwnd()));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(window.EditControl(edit), WM_PASTE, 0, 0);
    wchar_t text[64] = {};
    XRichEdit_GetText(edit, text, 64);
    EXPECT_EQ(pasted, text);  // multi-line: the line break stays
    EXPECT_FALSE(log.records.empty());
}

TEST(ElementEvents, EverySetPosRaises64WithThePosition)
{
    TestWindow window;
    EventLog log;
    HELE bar = window.Find(L"ID_ProgressBar");
    BindElementEvent(bar, XE_PROGRESSBAR_CHANGE, &log, &EventLog::OnProgress, "&EventLog::OnProgress");
    XProgBar_SetRange(bar, 100);
    for (int pos : {10, 10, 55, 100, 250, -3})
        XProgBar_SetPos(bar, pos);
    ASSERT_EQ(6u, log.records.size());
    const long long expected[] = {10, 10, 55, 100, 100, 0};  // held within the range
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(expected[i], log.records[i].a) << i;
}

TEST(ElementEvents, HandledFlagStopsLaterBindersAndTheBuiltInAction)
{
    TestWindow window;
    HELE close = window.Find(L"ID_BtnClose");
    EventLog first, second;
    first.setHandled = FALSE;
    BindElementEvent(close, XE_BNCLICK, &first, &EventLog::OnClick, "&EventLog::OnClick");
    BindElementEvent(close, XE_BNCLICK, &second, &EventLog::OnClick, "&EventLog::OnClick");
    window.Click(close);
    EXPECT_EQ(1u, first.records.size());
    EXPECT_EQ(1u, second.records.size());
    EXPECT_TRUE(IsWindow(window.Hwnd())) << "a handled click keeps the close action back";

    second.setHandled = FALSE;
    window.Click(close);
    PumpMessages();
    EXPECT_EQ(2u, second.records.size());
    EXPECT_EQ(nullptr, window.Hwnd()) << "nobody handled it: action=\"close\" closed the window";
}

TEST(ElementEvents, AHandlerMayCloseItsOwnWindow)
{
    TestWindow window;
    struct Closer {
        int OnClick(HELE, BOOL* pbHandled)
        {
            XWnd_CloseWindow(window);
            *pbHandled = TRUE;  // written after the close, as the programs do
            return 0;
        }
        HWINDOW window;
    } closer{window.Handle()};
    EventLog after;
    HELE button = window.Find(L"ID_BtnQuickInstall");
    BindElementEvent(button, XE_BNCLICK, &closer, &Closer::OnClick, "&Closer::OnClick");
    window.Click(button);
    EXPECT_EQ(nullptr, XWnd_GetHWND(window.Handle()));
    XEle_ShowEle(button, FALSE);  // a handle of the closed window: ignored
    XProgBar_SetPos(window.Find(L"ID_ProgressBar"), 5);
}

TEST(ElementEvents, EditModesKeepTheText)
{
    TestWindow window;
    HELE edit = window.Find(L"ID_EditRoute");
    XRichEdit_EnableEvent_XE_RICHEDIT_CHANGE(edit, TRUE);
    EventLog log;
    BindElementEvent(edit, XE_RICHEDIT_CHANGE, &log, &EventLog::OnEditChange, "&EventLog::OnEditChange");
    auto style = [&] { return GetWindowLongW(window.EditControl(edit), GWL_STYLE); };
    EXPECT_EQ(0, style() & ES_MULTILINE);
    XRichEdit_EnableMultiLine(edit, TRUE);
    EXPECT_NE(0, style() & ES_MULTILINE);
    EXPECT_NE(0, style() & ES_AUTOHSCROLL) << "no wrap until asked";
    EXPECT_NE(0, style() & WS_VSCROLL);
    XRichEdit_EnableAutoWrap(edit, TRUE);
    EXPECT_EQ(0, style() & ES_AUTOHSCROLL);
    XSView_ShowSBarV(edit, FALSE);
    EXPECT_EQ(0, style() & WS_VSCROLL);
    wchar_t text[64] = {};
    XRichEdit_GetText(edit, text, 64);
    EXPECT_STREQ(L"C:\\Program Files (x86)", text);
    EXPECT_TRUE(log.records.empty()) << "changing modes is no typing";
    window.Type(edit, L"\r");
    EXPECT_EQ(1u, log.records.size()) << "Enter breaks the line of a multi-line edit";
}
