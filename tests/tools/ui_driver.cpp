// Drives a window of the kit from scripts, through its accessibility tree:
//   ui_driver wait    <title> [ms]                 window is there
//   ui_driver rect    <title>                      prints "x y width height"
//   ui_driver tree    <title>                      prints every element
//   ui_driver click   <title> <ID> [ms]            default action (a click)
//   ui_driver focus   <title> <ID>
//   ui_driver type    <title> <ID> <text>          characters into an edit
//   ui_driver key     <title> tab|space|enter|esc  to the focused element
//   ui_driver waitfor <title> <ID> <condition> [ms]
//          condition: visible, hidden, enabled, disabled, checked, unchecked,
//                     name=<text>, value=<text>
//   ui_driver close   <title>                      asks the window to close
// <title> "*" is any window of the toolkit. Exit code 0 on success, 1 when
// the window or element was not found or the time ran out, 2 on bad usage.
#include "../support/msaa_client.h"

#include <cstdio>
#include <cwchar>
#include <map>
#include <string>

namespace {

constexpr DWORD kDefaultTimeoutMs = 10000;

void Print(const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
}

int Usage()
{
    Print(L"usage: ui_driver wait|rect|tree|click|focus|type|key|waitfor|close <title> ...");
    return 2;
}

DWORD TimeoutArg(int argc, wchar_t** argv, int index)
{
    return argc > index ? static_cast<DWORD>(std::wcstoul(argv[index], nullptr, 10)) : kDefaultTimeoutMs;
}

bool Matches(const msaa::Element& e, const std::wstring& condition)
{
    if (condition == L"visible") return e.Visible();
    if (condition == L"hidden") return !e.Visible();
    if (condition == L"enabled") return e.Enabled();
    if (condition == L"disabled") return !e.Enabled();
    if (condition == L"checked") return e.Checked();
    if (condition == L"unchecked") return !e.Checked();
    if (condition.compare(0, 5, L"name=") == 0) return e.name == condition.substr(5);
    if (condition.compare(0, 6, L"value=") == 0) return e.value == condition.substr(6);
    return false;
}

int PrintTree(HWND window)
{
    msaa::Tree tree;
    if (!msaa::Snapshot(window, tree, kDefaultTimeoutMs))
        return 1;
    Print(L"window\t" + tree.windowName);
    for (const msaa::Element& e : tree.elements) {
        const RECT& r = e.location;
        Print((e.idName.empty() ? L"-" : e.idName) + L"\t" + msaa::RoleText(e.role) + L"\t" + e.name +
              L"\t" + e.value + L"\t" + msaa::StateText(e.state) + L"\t" + std::to_wstring(r.left) +
              L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right - r.left) + L"," +
              std::to_wstring(r.bottom - r.top));
    }
    return 0;
}

int PressKey(HWND window, const std::wstring& name)
{
    static const std::map<std::wstring, WORD> kKeys = {
        {L"tab", VK_TAB}, {L"space", VK_SPACE}, {L"enter", VK_RETURN}, {L"esc", VK_ESCAPE}};
    auto key = kKeys.find(name);
    if (key == kKeys.end())
        return Usage();
    return msaa::PressKey(window, key->second) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return Usage();
    const std::wstring command = argv[1];
    const DWORD findTimeout = command == L"wait" ? TimeoutArg(argc, argv, 3) : kDefaultTimeoutMs;
    HWND window = msaa::FindWindowByTitle(argv[2], findTimeout);
    if (window == nullptr) {
        Print(L"no window titled " + std::wstring(argv[2]));
        return 1;
    }
    if (command == L"wait")
        return 0;
    if (command == L"rect") {
        RECT r{};
        GetWindowRect(window, &r);
        Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
              std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
        return 0;
    }
    if (command == L"tree")
        return PrintTree(window);
    if (command == L"close")
        return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == L"key" && argc == 4)
        return PressKey(window, argv[3]);
    if (argc < 4)
        return Usage();
    const std::wstring id = argv[3];
    if (command == L"click")
        return msaa::DoDefaultAction(window, id, TimeoutArg(argc, argv, 4)) ? 0 : 1;
    if (command == L"focus")
        return msaa::Focus(window, id) ? 0 : 1;
    if (command == L"type" && argc == 5)
        return msaa::TypeText(window, id, argv[4]) ? 0 : 1;
    if (command == L"waitfor" && argc >= 5) {
        const std::wstring condition = argv[4];
        const bool ok = msaa::WaitForElement(
            window, id, [&condition](const msaa::Element& e) { return Matches(e, condition); },
            TimeoutArg(argc, argv, 5));
        if (!ok)
            Print(L"timed out waiting for " + id + L" " + condition);
        return ok ? 0 : 1;
    }
    return Usage();
}
