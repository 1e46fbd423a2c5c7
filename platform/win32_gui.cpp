#include "platform/win32_gui.h"

#include <windows.h>

#include "app/program_window.h"
#include "app/shell.h"
#include "main_window/main_window_definition.h"
#include "picture_window/picture_window_definition.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace br {

// The handlers run only while the main window exists, so it is always found.
ProgramWindow* Win32Gui::main_window() const { return shell_.find(kMainWindow); }

std::optional<std::string> Win32Gui::read_text(std::string_view control) {
    HWND handle = main_window()->control(control);
    const int length = GetWindowTextLengthW(handle);
    if (length <= 0) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle, text.data(), length + 1)));
    if (text.empty()) return std::nullopt;
    return to_gbk(text);
}

int Win32Gui::read_tick(std::string_view control) {
    return SendMessageW(main_window()->control(control), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Gui::write_tick(std::string_view control, int tick) {
    SendMessageW(main_window()->control(control), BM_SETCHECK, tick == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Gui::hide(std::string_view control) { ShowWindow(main_window()->control(control), SW_HIDE); }

void Win32Gui::disable(std::string_view control) {
    EnableWindow(main_window()->control(control), FALSE);
}

void Win32Gui::write_timer_period(std::string_view control, std::int64_t milliseconds) {
    main_window()->timer(control)->write(milliseconds);
}

BoxResult Win32Gui::message_box(std::string_view text, Buttons buttons, std::string_view title,
                                NativeHandle owner) {
    return show_message_box(text, buttons, title, reinterpret_cast<HWND>(owner));
}

NativeHandle Win32Gui::main_window_handle() {
    return reinterpret_cast<NativeHandle>(main_window()->window());
}

void Win32Gui::write_always_on_top(bool on) { main_window()->write_always_on_top(on); }

bool Win32Gui::open_picture_window() { return shell_.open_window(kPictureWindow, true); }

void Win32Gui::hibernate() { hibernate_.call(*this); }

void Win32Gui::fatal_error(std::string_view message, std::uint32_t code) {
    shell_.fatal_error(message, code);
}

}  // namespace br
