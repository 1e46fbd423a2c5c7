#include "app/program_window.h"

#include <algorithm>

#include "app/shell.h"
#include "app/tab_order.h"
#include "app/window_builder.h"

namespace br {
namespace {

bool key_down(int key) { return GetKeyState(key) < 0; }

}  // namespace

std::unique_ptr<ProgramWindow> ProgramWindow::create(Shell& shell, const WindowDefinition& definition,
                                                     HWND owner) {
    std::unique_ptr<ProgramWindow> window(new ProgramWindow(shell, definition));
    if (!window->build(owner)) return nullptr;
    return window;
}

ProgramWindow::~ProgramWindow() {
    // Only a window that failed to build is still here; it goes without telling the shell.
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool ProgramWindow::build(HWND owner) {
    window_ = create_frame(definition_, owner, shell_.instance(), this);
    if (!window_) return false;
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shell_.big_icon()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shell_.small_icon()));
    if (definition_.always_on_top) write_always_on_top(true);
    picture_.set_source(definition_.picture);

    // Controls: created hidden in definition order, ids from 1.
    int id = 1;
    for (const ControlDefinition& control : definition_.controls) {
        std::unique_ptr<TimerControl> timer;
        void* param = const_cast<ControlDefinition*>(&control);
        HWND handle = create_control(control, window_, id++, shell_.instance(),
                                     control.kind == ControlKind::Timer ? nullptr : param);
        if (!handle) return false;
        if (control.kind == ControlKind::Timer) {
            timers_.push_back(std::make_unique<TimerControl>(shell_, control.event, handle));
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(timers_.back().get()));
        }
        Font font = create_control_font(control);
        const auto font_handle =
            font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        if (control.kind != ControlKind::Timer) {
            SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_handle), FALSE);
        }
        if (font) fonts_.push_back(std::move(font));
        if (control.kind == ControlKind::Edit) finish_edit(handle);
        controls_.push_back({&control, handle});
    }

    // Stacking follows the definition: the first control on top.
    HWND above = HWND_TOP;
    for (const Control& control : controls_) {
        SetWindowPos(control.window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control.window;
    }
    for (const Control& control : controls_) {
        if (control.definition->visible) ShowWindow(control.window, SW_SHOWNA);
    }
    return true;
}

HWND ProgramWindow::control(std::string_view name) const {
    for (const Control& control : controls_) {
        if (name == control.definition->name) return control.window;
    }
    return nullptr;
}

TimerPeriod* ProgramWindow::timer(std::string_view name) const {
    HWND handle = control(name);
    for (const auto& timer : timers_) {
        if (timer->system.window() == handle) return &timer->period;
    }
    return nullptr;
}

void ProgramWindow::write_always_on_top(bool on) {
    always_on_top_ = on;
    SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool ProgramWindow::handle_key(const MSG& message) {
    const bool ctrl = key_down(VK_CONTROL);
    const bool shift = key_down(VK_SHIFT);
    const bool alt = key_down(VK_MENU);
    if (message.wParam == VK_TAB && !ctrl && !alt) {
        move_focus(!shift);
        return true;  // used up even when nothing can take the focus
    }
    if (message.wParam == VK_ESCAPE && definition_.esc_closes && !ctrl && !shift && !alt) {
        SendMessageW(window_, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

bool ProgramWindow::can_focus(std::size_t index) const {
    HWND handle = controls_[index].window;
    return IsWindowVisible(handle) && IsWindowEnabled(handle);
}

void ProgramWindow::move_focus(bool forward) {
    const auto cycle = tab_cycle(definition_.controls, [&](std::size_t i) { return can_focus(i); });
    std::optional<std::size_t> current;
    HWND focus = GetFocus();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].window == focus) current = i;
    }
    if (const auto next = next_in_cycle(cycle, current, forward)) SetFocus(controls_[*next].window);
}

void ProgramWindow::focus_first() {
    const auto cycle = tab_cycle(definition_.controls, [&](std::size_t i) { return can_focus(i); });
    SetFocus(cycle.empty() ? window_ : controls_[cycle.front()].window);
}

void ProgramWindow::on_activate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) remembered_focus_ = focus;
        return;
    }
    if (!IsWindowEnabled(window_)) {
        // Disabled by a window open in dialog mode: that one takes the activation.
        if (ProgramWindow* dialog = shell_.dialog_window(); dialog && dialog != this) {
            SetActiveWindow(dialog->window());
        }
        return;
    }
    if (remembered_focus_ && IsWindow(remembered_focus_) && IsChild(window_, remembered_focus_)) {
        SetFocus(remembered_focus_);
    } else {
        focus_first();
    }
}

void ProgramWindow::on_command(int id, int notification) {
    if (notification != BN_CLICKED || id < 1 || static_cast<std::size_t>(id) > controls_.size()) return;
    const ControlDefinition& control = *controls_[static_cast<std::size_t>(id) - 1].definition;
    if (control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox) {
        shell_.raise(control.event);
    }
}

void ProgramWindow::close() {
    // Give back what the opening in dialog mode took, before the window goes.
    for (const auto& [handle, enabled] : disabled_by_opening_) {
        if (IsWindow(handle)) EnableWindow(handle, enabled);
    }
    disabled_by_opening_.clear();
    DestroyWindow(window_);
}

LRESULT ProgramWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ACTIVATE:
            on_activate(LOWORD(wparam) != WA_INACTIVE);
            return 0;
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam));
            return 0;
        case WM_CTLCOLOREDIT:
            SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_ERASEBKGND:
            if (!definition_.picture.empty()) return 1;  // the picture is drawn on paint
            break;
        case WM_PAINT:
            if (!definition_.picture.empty()) {
                picture_.paint(window_);
                return 0;
            }
            break;
        case WM_CLOSE:
            close();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK ProgramWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<ProgramWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ProgramWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->shell_.window_destroyed(self);  // the shell lets go of the object here
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return self->handle(message, wparam, lparam);
}

}  // namespace br
