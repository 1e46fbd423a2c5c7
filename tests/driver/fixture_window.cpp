// A small window for the driver's own tests: an edit box, a button that asks
// a question in a message box, a coloured square to find in screenshots.
//   fixture_window.exe [--icon] [ARGS...]
// The edit box shows the arguments joined with '|' (so a test can check how
// they arrived), a static control shows the working directory, another the
// last input ("<count>: <virtual key> [ctrl] [shift] [alt]" or
// "<count>: down|up <x>,<y> on <control id>"), and --icon puts an
// information icon in the message box.
#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

namespace {

constexpr wchar_t kClassName[] = L"DriverFixture";
constexpr wchar_t kTitle[] = L"fixture";
constexpr wchar_t kButtonText[] = L"按钮";
constexpr wchar_t kEditTextWithoutArguments[] = L"编辑框";
constexpr wchar_t kBoxTitle[] = L"提示";
constexpr wchar_t kBoxText[] = L"你好";
constexpr wchar_t kIconOption[] = L"--icon";
constexpr wchar_t kTitleAfterOk[] = L"ok";
constexpr wchar_t kTitleAfterCancel[] = L"cancel";
constexpr wchar_t kTimerTitlePrefix[] = L"timer ";

constexpr int kEditId = 100;
constexpr int kButtonId = 101;
constexpr int kDirectoryId = 102;
constexpr int kLastInputId = 103;
constexpr RECT kEditRect{10, 10, 210, 34};
constexpr RECT kButtonRect{10, 50, 110, 80};
constexpr RECT kDirectoryRect{10, 90, 310, 110};
constexpr RECT kLastInputRect{10, 120, 310, 140};
constexpr RECT kMarkRect{250, 10, 290, 50};
constexpr COLORREF kMarkColour = RGB(0x20, 0x80, 0xC0);
constexpr int kClientWidth = 320;
constexpr int kClientHeight = 150;
constexpr int kExitCode = 7;

struct Fixture {
    HWND edit = nullptr;
    HWND last_input = nullptr;
    unsigned inputs_seen = 0;
    HWND last_focus = nullptr;  // the child to give the focus back to on activation
    UINT box_style = MB_OKCANCEL;
    std::wstring arguments = kEditTextWithoutArguments;
};

Fixture fixture;

HWND create_child(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style,
                  const RECT& rect, int id) {
    return CreateWindowExW(0, class_name, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void on_create(HWND window) {
    fixture.edit = create_child(window, L"EDIT", fixture.arguments.c_str(),
                                WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kEditRect, kEditId);
    create_child(window, L"BUTTON", kButtonText, WS_TABSTOP | BS_PUSHBUTTON, kButtonRect,
                 kButtonId);
    wchar_t directory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    create_child(window, L"STATIC", directory, SS_LEFT, kDirectoryRect, kDirectoryId);
    fixture.last_input = create_child(window, L"STATIC", L"", SS_LEFT, kLastInputRect, kLastInputId);
    fixture.last_focus = fixture.edit;
}

void on_button(HWND window) {
    const int answer = MessageBoxW(window, kBoxText, kBoxTitle, fixture.box_style);
    SetWindowTextW(window, answer == IDOK ? kTitleAfterOk : kTitleAfterCancel);
}

// Shows the last key press or left-button event that reached the thread:
// keys with the modifiers held, clicks with the client point and control id.
void show_input(const MSG& message) {
    std::wstring text;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const WPARAM vk = message.wParam;
        if (vk == VK_CONTROL || vk == VK_SHIFT || vk == VK_MENU) return;
        text = std::to_wstring(vk);
        if (GetKeyState(VK_CONTROL) < 0) text += L" ctrl";
        if (GetKeyState(VK_SHIFT) < 0) text += L" shift";
        if (GetKeyState(VK_MENU) < 0) text += L" alt";
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        text = (message.message == WM_LBUTTONDOWN ? L"down " : L"up ") +
               std::to_wstring(GET_X_LPARAM(message.lParam)) + L"," +
               std::to_wstring(GET_Y_LPARAM(message.lParam)) + L" on " +
               std::to_wstring(GetDlgCtrlID(message.hwnd));
        break;
    default:
        return;
    }
    text = std::to_wstring(++fixture.inputs_seen) + L": " + text;
    SetWindowTextW(fixture.last_input, text.c_str());
}

void on_paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kMarkColour);
    FillRect(dc, &kMarkRect, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        on_create(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED) on_button(window);
        return 0;
    case WM_TIMER:
        SetWindowTextW(window, (kTimerTitlePrefix + std::to_wstring(wparam)).c_str());
        return 0;
    case WM_ACTIVATE:
        // Keep the focus on a child across deactivation, as a dialog does.
        if (LOWORD(wparam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus)) fixture.last_focus = focus;
        } else {
            SetFocus(fixture.last_focus);
        }
        return 0;
    case WM_PAINT:
        on_paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(kExitCode);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

void read_arguments() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return;
    std::wstring joined;
    for (int i = 1; i < count; ++i) {
        if (std::wstring(args[i]) == kIconOption) fixture.box_style |= MB_ICONINFORMATION;
        if (i > 1) joined += L'|';
        joined += args[i];
    }
    if (count > 1) fixture.arguments = joined;
    LocalFree(args);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    read_arguments();

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExW(&window_class)) return 1;

    const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, kClassName, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        show_input(message);
        // Tab and Shift+Tab move between the edit box and the button.
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
