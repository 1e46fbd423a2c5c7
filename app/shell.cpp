#include "app/shell.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/program_window.h"
#include "app/window_classes.h"
#include "main_window/texts.h"
#include "platform/text_codec.h"

namespace br {
namespace {

constexpr int kBigIcon = 32;
constexpr int kSmallIcon = 16;
constexpr wchar_t kIconName[] = L"DEFAULT_ICON";

Icon load_icon(HINSTANCE instance, int size) {
    return Icon(static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, size, size, 0)));
}

}  // namespace

std::unique_ptr<Shell> Shell::create(HINSTANCE instance) {
    if (!register_window_classes(instance)) return nullptr;
    std::unique_ptr<Shell> shell(new Shell(instance));
    shell->hidden_owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0,
                                           0, nullptr, nullptr, instance, nullptr);
    if (!shell->hidden_owner_) return nullptr;
    shell->big_icon_ = load_icon(instance, kBigIcon);
    shell->small_icon_ = load_icon(instance, kSmallIcon);
    return shell;
}

Shell::Shell(HINSTANCE instance) : instance_(instance) {}

Shell::~Shell() {
    // Windows still open (after a fatal error, or in tests) go with the shell.
    while (!windows_.empty()) DestroyWindow(windows_.back()->window());
    if (hidden_owner_) DestroyWindow(hidden_owner_);
}

bool Shell::open_window(const WindowDefinition& definition, bool dialog_mode) {
    if (ProgramWindow* open = find(definition)) {
        if (IsIconic(open->window())) {
            ShowWindow(open->window(), SW_RESTORE);
        } else {
            SetActiveWindow(open->window());
        }
        return true;
    }

    auto created = ProgramWindow::create(*this, definition, dialog_mode ? hidden_owner_ : nullptr);
    if (!created) return false;
    ProgramWindow* window = created.get();
    windows_.push_back(std::move(created));
    ShowWindow(window->window(), SW_SHOW);
    if (!dialog_mode) return true;

    // Every other top-level window of the program that nobody owns is disabled
    // until this one closes; message boxes and the hidden owner are not ours.
    std::vector<std::pair<HWND, bool>> disabled;
    for (const auto& other : windows_) {
        HWND handle = other->window();
        if (other.get() == window || GetWindow(handle, GW_OWNER)) continue;
        disabled.emplace_back(handle, IsWindowEnabled(handle) != FALSE);
        EnableWindow(handle, FALSE);
    }
    window->remember_disabled(std::move(disabled));

    dialogs_.push_back(window);
    run_modal_loop(window);
    std::erase(dialogs_, window);
    return true;
}

int Shell::run_event_loop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
    return static_cast<int>(message.wParam);
}

void Shell::run_modal_loop(const ProgramWindow* window) {
    MSG message{};
    while (is_open(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0) return;
        dispatch(message);
    }
}

void Shell::dispatch(MSG& message) {
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
        if (ProgramWindow* window = find(GetAncestor(message.hwnd, GA_ROOT))) {
            if (window->handle_key(message)) return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Shell::end() {
    handlers_stopped_ = true;
    if (clean_up_) clean_up_();
}

void Shell::fatal_error(std::string_view message, std::uint32_t code) {
    handlers_stopped_ = true;
    std::string text = texts::kFatalHeading;
    if (code != 0) text += std::string("\n") + texts::kFatalCode + std::to_string(code);
    text += "\n";
    text += message;
    // No owner and not task-modal: the program's windows stay as they are.
    MessageBoxW(nullptr, to_wide(text).c_str(), to_wide(texts::kFatalTitle).c_str(),
                MB_OK | MB_ICONERROR);
    ExitProcess(static_cast<UINT>(-1));
}

void Shell::raise(Handler handler) {
    if (handler && gui_ && !handlers_stopped_) handler(*gui_);
}

ProgramWindow* Shell::find(const WindowDefinition& definition) const {
    for (const auto& window : windows_) {
        if (&window->definition() == &definition) return window.get();
    }
    return nullptr;
}

ProgramWindow* Shell::find(HWND handle) const {
    for (const auto& window : windows_) {
        if (window->window() == handle) return window.get();
    }
    return nullptr;
}

ProgramWindow* Shell::dialog_window() const {
    return dialogs_.empty() ? nullptr : dialogs_.back();
}

bool Shell::is_open(const ProgramWindow* window) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [&](const auto& open) { return open.get() == window; });
}

void Shell::window_destroyed(ProgramWindow* window) {
    std::erase(dialogs_, window);
    std::erase_if(windows_, [&](const auto& open) { return open.get() == window; });
    if (windows_.empty() && !handlers_stopped_) PostQuitMessage(0);
}

}  // namespace br
