#include "tests/e2e/program.h"

namespace e2e {

std::wstring program_path() {
    const std::wstring path = drv::environment(L"BR_PROGRAM");
    if (path.empty()) throw drv::Failure("BR_PROGRAM names no program to test");
    return path;
}

Program::Program(const std::vector<std::wstring>& args, std::wstring_view working_dir)
    : Program(drv::Process::start(program_path(), args, working_dir)) {}

Program::Program(drv::Process process) : process_(std::move(process)) {
    main_ = drv::wait_for_window(process_.pid(), drv::with_class(kWindowClass), drv::kDefaultTimeout,
                                 "the main window");
    // Started means shown, active and with the focus placed.
    drv::wait_until([&] { return drv::gui_state(main_).focus != nullptr; }, drv::kDefaultTimeout,
                    "the keyboard focus placed in the main window");
}

HWND Program::edit() const { return drv::find_child_by_class(main_, L"Edit"); }
HWND Program::start_button() const { return drv::find_child_by_text(main_, kStart); }
HWND Program::picture_box() const { return drv::find_child_by_text(main_, kPictureBox); }
HWND Program::sleep_box() const { return drv::find_child_by_text(main_, kSleepBox); }
HWND Program::timer() const { return drv::find_child_by_class(main_, kTimerClass); }

std::wstring Program::interval_text() const { return drv::window_text(edit()); }

void Program::set_interval_text(std::wstring_view text) const {
    const std::wstring copy(text);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()),
                        SMTO_ABORTIFHUNG, 10'000, &result);
}

void Program::paste_interval_text(std::wstring_view text) const {
    if (!OpenClipboard(nullptr)) throw drv::Failure("OpenClipboard failed");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    set_interval_text(L"");
    drv::send_keys(edit(), {{'V', drv::kCtrl}});
    // The edit box keeps its text itself: only WM_GETTEXT reads it from outside.
    drv::wait_until([&] { return interval_text().size() == text.size(); }, drv::Timeout{30'000},
                    "the pasted text in the interval box",
                    [&] { return std::to_string(interval_text().size()) + " characters"; });
}

bool Program::ticked(HWND check_box) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return result == BST_CHECKED;
}

void Program::tick_check_box(HWND check_box) const {
    drv::click_button(check_box);
    drv::wait_until([&] { return ticked(check_box); }, drv::kDefaultTimeout,
                    "the check box " + drv::utf8(drv::window_text(check_box)) + " ticked");
}

drv::MessageBoxInfo Program::wait_box(std::wstring_view text) const {
    return drv::wait_for_message_box_text(pid(), text, drv::kDefaultTimeout);
}

void Program::answer(const drv::MessageBoxInfo& box, int id) const {
    drv::answer(box.hwnd, id);
    drv::wait_gone(box.hwnd, drv::kDefaultTimeout, "the answered message box to close");
}

void Program::start() const {
    drv::click_button(start_button());
    drv::wait_until([&] { return !IsWindowVisible(start_button()); }, drv::kDefaultTimeout,
                    "the start button to disappear after 开始");
}

void Program::start_in_mode(HWND rest_mode) const {
    tick_check_box(rest_mode);
    start();
}

void Program::tick() const { drv::post_timer(timer(), kTickTimer); }

namespace {

bool is_picture_window(const drv::WindowInfo& window, HWND main) {
    return window.visible && window.class_name == kWindowClass && window.hwnd != main;
}

}  // namespace

HWND Program::picture_window() const {
    return drv::find_window(pid(), [&](const drv::WindowInfo& w) { return is_picture_window(w, main_); });
}

HWND Program::wait_picture_window(const std::string& what) const {
    return drv::wait_for_window(
        pid(), [&](const drv::WindowInfo& w) { return is_picture_window(w, main_); }, drv::kDefaultTimeout, what);
}

DWORD Program::close_and_wait() {
    drv::post_close(main_);
    const auto code = process_.wait_exit(drv::kDefaultTimeout);
    if (!code) throw drv::Failure("the program did not end after its main window was closed");
    return *code;
}

}  // namespace e2e
