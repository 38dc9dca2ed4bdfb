// Stand-in for the product: shows its version and the arguments it was
// started with, and appends both to "Morvane.log" beside itself, so a person
// or a test can see which version the kit started and how.
#include <windows.h>

#include <string>

namespace {

std::wstring ProgramFolder()
{
    wchar_t path[32768] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, 32768);
    std::wstring text(path, n);
    return text.substr(0, text.find_last_of(L'\\'));
}

const wchar_t* Arguments()
{
    const wchar_t* p = GetCommandLineW();
    bool quoted = false;
    for (; *p; ++p) {
        if (*p == L'"')
            quoted = !quoted;
        else if (!quoted && (*p == L' ' || *p == L'\t'))
            break;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

void AppendLog(const std::wstring& line)
{
    std::wstring path = ProgramFolder() + L"\\Morvane.log";
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::wstring text = line + L"\r\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring g_text;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        InflateRect(&area, -16, -16);
        DrawTextW(dc, g_text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    std::wstring arguments = Arguments();
    AppendLog(L"version=" KIT_STANDIN_VERSION L" args=" + arguments);
    g_text = L"Morvane " KIT_STANDIN_VERSION L"\n\nStarted with: " +
             (arguments.empty() ? std::wstring(L"(no arguments)") : arguments) +
             L"\nFolder: " + ProgramFolder();

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MorvaneStandIn";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Morvane " KIT_STANDIN_VERSION,
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 220,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
