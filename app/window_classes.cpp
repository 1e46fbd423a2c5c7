#include "app/window_classes.h"

#include <string>

#include "app/program_window.h"
#include "app/shell.h"
#include "app/window_definition.h"

namespace br {
namespace {

// Label: GWLP_USERDATA holds its definition; the extra bytes hold its font.
constexpr int kLabelFontSlot = 0;

UINT label_alignment(const ControlDefinition* definition) {
    if (!definition) return DT_LEFT;
    switch (definition->align) {
        case TextAlign::Centre: return DT_CENTER;
        case TextAlign::Right: return DT_RIGHT;
        case TextAlign::Left: break;
    }
    return DT_LEFT;
}

void paint_label(HWND label) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(label, &paint);
    RECT area;
    GetClientRect(label, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    const auto* definition =
        reinterpret_cast<const ControlDefinition*>(GetWindowLongPtrW(label, GWLP_USERDATA));
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, kLabelFontSlot));
    {
        ScopedSelect select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | label_alignment(definition));
    }
    EndPaint(label, &paint);
}

LRESULT CALLBACK label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(label, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_SETFONT:
            SetWindowLongPtrW(label, kLabelFontSlot, static_cast<LONG_PTR>(wparam));
            if (LOWORD(lparam)) InvalidateRect(label, nullptr, TRUE);
            return 0;
        case WM_GETFONT: return GetWindowLongPtrW(label, kLabelFontSlot);
        case WM_ERASEBKGND: return 1;  // the paint fills the whole label
        case WM_PAINT: paint_label(label); return 0;
    }
    return DefWindowProcW(label, message, wparam, lparam);
}

// Timer: GWLP_USERDATA holds its TimerControl; every WM_TIMER is offered to it.
LRESULT CALLBACK timer_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_TIMER:
            if (auto* timer = reinterpret_cast<TimerControl*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                if (timer->period.on_system_timer(static_cast<std::uint32_t>(wparam))) {
                    timer->shell.raise(timer->event);
                }
            }
            return 0;
        case WM_NCDESTROY:
            if (auto* timer = reinterpret_cast<TimerControl*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                timer->period.write(0);
            }
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// The edit box's own procedure, kept in its GWLP_USERDATA by the subclass.
LRESULT CALLBACK digit_filter_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    if (message == WM_CHAR && wparam >= 0x20) {
        const bool digit = wparam >= L'0' && wparam <= L'9';
        if (!digit && wparam != L'-') return 0;  // dropped without a sound
    }
    return CallWindowProcW(original, edit, message, wparam, lparam);
}

bool register_class(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background,
                    int extra_bytes) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = background;
    window_class.lpszClassName = name;
    window_class.cbWndExtra = extra_bytes;
    // A second shell in the same process (the tests) finds the classes in place.
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool register_window_classes(HINSTANCE instance) {
    const auto face = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    return register_class(instance, kWindowClass, ProgramWindow::procedure, face, 0) &&
           register_class(instance, kLabelClass, label_procedure, nullptr, sizeof(LONG_PTR)) &&
           register_class(instance, kTimerClass, timer_procedure, nullptr, 0) &&
           register_class(instance, kOwnerClass, DefWindowProcW, nullptr, 0);
}

void filter_typed_characters(HWND edit) {
    SetWindowLongPtrW(edit, GWLP_USERDATA, GetWindowLongPtrW(edit, GWLP_WNDPROC));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(digit_filter_procedure));
}

}  // namespace br
