#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>

namespace drv {
namespace {

// Between two looks at a condition: short, so a wait ends soon after the
// condition holds.
constexpr DWORD kPollIntervalMs = 10;
// How long one WM_GETTEXT / STM_GETICON may take before the target counts as hung.
constexpr UINT kSendTimeoutMs = 2000;
// How long the destructor of a Process waits for a terminated process to go.
constexpr DWORD kTerminateWaitMs = 10'000;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr std::size_t kClassNameCapacity = 256;

std::string last_error_text(const char* call) {
    return std::string(call) + " failed, GetLastError " + std::to_string(GetLastError());
}

[[noreturn]] void fail_call(const char* call) { throw Failure(last_error_text(call)); }

std::string number(long long value) { return std::to_string(value); }

std::string describe_rect(const RECT& r) {
    return "(" + number(r.left) + "," + number(r.top) + ")-(" + number(r.right) + "," +
           number(r.bottom) + ")";
}

std::string hex(std::uintptr_t value) {
    char buffer[2 + 2 * sizeof value + 1];
    std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
    return buffer;
}

bool same_class(std::wstring_view a, std::wstring_view b) {
    // Window class names compare without regard to case.
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Quotes one argument so that CommandLineToArgvW and the C runtime read it back unchanged.
std::wstring quote_argument(std::wstring_view arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        return std::wstring(arg);
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote are doubled.
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}

// A window DC of the whole screen, released on scope exit.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {
        if (!dc_) fail_call("GetDC");
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {
        if (!dc_) fail_call("CreateCompatibleDC");
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() { DeleteDC(dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Confines the cursor to a rectangle until scope exit.
class CursorClip {
public:
    explicit CursorClip(const RECT& rect) {
        if (!ClipCursor(&rect)) fail_call("ClipCursor");
    }
    CursorClip(const CursorClip&) = delete;
    CursorClip& operator=(const CursorClip&) = delete;
    ~CursorClip() { ClipCursor(nullptr); }
};

// Sends a message that cannot open a box in the target, with a timeout.
std::optional<LRESULT> send_with_timeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result)) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

void send_input(std::vector<INPUT>& inputs) {
    if (inputs.empty()) return;
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) fail_call("SendInput");
}

bool is_extended_key(WORD vk) {
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_NUMLOCK: case VK_DIVIDE:
    case VK_RCONTROL: case VK_RMENU: case VK_LWIN: case VK_RWIN: case VK_APPS:
        return true;
    default:
        return false;
    }
}

INPUT key_input(WORD vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (is_extended_key(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void append_chord(std::vector<INPUT>& inputs, const Key& key) {
    static constexpr std::pair<Modifier, WORD> kModifierKeys[] = {
        {kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
    for (const auto& [flag, vk] : kModifierKeys) {
        if (key.modifiers & flag) inputs.push_back(key_input(vk, true));
    }
    inputs.push_back(key_input(key.vk, true));
    inputs.push_back(key_input(key.vk, false));
    for (auto it = std::rbegin(kModifierKeys); it != std::rend(kModifierKeys); ++it) {
        if (key.modifiers & it->first) inputs.push_back(key_input(it->second, false));
    }
}

}  // namespace

// --- text ----------------------------------------------------------------

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

std::wstring wide(std::string_view utf8_text) {
    if (utf8_text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(),
                                         static_cast<int>(utf8_text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), static_cast<int>(utf8_text.size()),
                        result.data(), size);
    return result;
}

std::wstring environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length);
    return value;
}

std::wstring windows_path(std::wstring_view path) {
    if (path.empty() || path.front() != L'/') return std::wstring(path);
    std::wstring result = L"Z:";
    result += path;
    std::replace(result.begin(), result.end(), L'/', L'\\');
    return result;
}

// --- waiting -------------------------------------------------------------

void wait_until(const std::function<bool()>& condition, Timeout timeout, std::string_view what,
                const std::function<std::string()>& seen) {
    const ULONGLONG deadline = GetTickCount64() + timeout.ms;
    for (;;) {
        if (condition()) return;
        if (GetTickCount64() >= deadline) break;
        Sleep(kPollIntervalMs);
    }
    std::string message = "timed out after " + number(timeout.ms) + " ms waiting for ";
    message += what;
    if (seen) message += "; seen: " + seen();
    throw Failure(message);
}

// --- handles -------------------------------------------------------------

Handle::Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

Handle::~Handle() { close(); }

void Handle::close() {
    if (*this) CloseHandle(handle_);
    handle_ = nullptr;
}

// --- processes -----------------------------------------------------------

Process Process::start(std::wstring_view exe, const std::vector<std::wstring>& args,
                       std::wstring_view working_dir) {
    const std::wstring application = windows_path(exe);
    std::wstring command_line = quote_argument(application);
    for (const auto& arg : args) command_line += L" " + quote_argument(arg);
    const std::wstring directory = windows_path(working_dir);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created{};
    // Wine now and then refuses a start with ERROR_INTERNAL_ERROR after a long,
    // busy session; a second attempt goes through.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                           nullptr, directory.empty() ? nullptr : directory.c_str(), &startup,
                           &created)) {
            break;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            throw Failure(last_error_text("CreateProcessW") + " for " + utf8(application));
        }
    }
    Handle thread(created.hThread);
    return Process(Handle(created.hProcess), created.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : process_(std::move(other.process_)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        if (running()) terminate();
        process_ = std::move(other.process_);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Process::~Process() {
    if (running()) terminate();
}

bool Process::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::wait_exit(Timeout timeout) const {
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(process_.get(), timeout.ms) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

void Process::terminate(UINT code) {
    if (!process_) return;
    TerminateProcess(process_.get(), code);
    WaitForSingleObject(process_.get(), kTerminateWaitMs);
}

// --- windows -------------------------------------------------------------

std::string WindowInfo::describe() const {
    return hex(reinterpret_cast<std::uintptr_t>(hwnd)) + " class \"" + utf8(class_name) +
           "\" text \"" + utf8(text) + "\" " + (visible ? "visible" : "hidden") +
           (enabled ? "" : " disabled") + " " + describe_rect(rect);
}

std::wstring class_name(HWND window) {
    wchar_t buffer[kClassNameCapacity] = {};
    const int length = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

std::wstring window_text(HWND window) {
    const auto length = send_with_timeout(window, WM_GETTEXTLENGTH, 0, 0);
    if (length) {
        std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
        const auto copied = send_with_timeout(window, WM_GETTEXT, text.size(),
                                              reinterpret_cast<LPARAM>(text.data()));
        if (copied) {
            text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(*copied, 0, *length)));
            return text;
        }
    }
    // A target too busy to answer: the text Windows keeps for the window.
    wchar_t buffer[1024] = {};
    const int copied = GetWindowTextW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, static_cast<std::size_t>(std::max(copied, 0)));
}

WindowInfo info(HWND window) {
    WindowInfo result;
    result.hwnd = window;
    result.class_name = class_name(window);
    result.text = window_text(window);
    GetWindowRect(window, &result.rect);
    GetClientRect(window, &result.client);
    result.style = GetWindowLongPtrW(window, GWL_STYLE);
    result.exstyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    result.owner = GetWindow(window, GW_OWNER);
    result.rect_in_parent = result.rect;
    if (result.style & WS_CHILD) {
        result.parent = GetAncestor(window, GA_PARENT);
        MapWindowPoints(HWND_DESKTOP, result.parent, reinterpret_cast<POINT*>(&result.rect_in_parent), 2);
        result.id = GetDlgCtrlID(window);
    }
    result.enabled = IsWindowEnabled(window) != FALSE;
    result.visible = IsWindowVisible(window) != FALSE;
    result.topmost = (result.exstyle & WS_EX_TOPMOST) != 0;
    result.minimised = IsIconic(window) != FALSE;
    return result;
}

namespace {

struct TopWindowSearch {
    DWORD pid;
    bool visible_only;
    std::vector<HWND> found;
};

// Enumeration callbacks are plain CALLBACK functions: a lambda does not
// convert to the stdcall pointer type of 32-bit Windows.
BOOL CALLBACK collect_top_window(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<TopWindowSearch*>(param);
    DWORD owner_pid = 0;
    GetWindowThreadProcessId(window, &owner_pid);
    if (owner_pid == search.pid && (!search.visible_only || IsWindowVisible(window))) {
        search.found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK collect_child(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> top_windows(DWORD pid, bool visible_only) {
    TopWindowSearch search{pid, visible_only, {}};
    EnumWindows(collect_top_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_window(DWORD pid, const WindowPredicate& predicate) {
    for (HWND window : top_windows(pid)) {
        if (predicate(info(window))) return window;
    }
    return nullptr;
}

std::string describe_windows(DWORD pid) {
    const auto windows = top_windows(pid);
    if (windows.empty()) return "no top-level windows of process " + number(pid);
    std::string result = "top-level windows of process " + number(pid) + ":";
    for (HWND window : windows) result += "\n  " + info(window).describe();
    return result;
}

HWND wait_for_window(DWORD pid, const WindowPredicate& predicate, Timeout timeout,
                     std::string_view what) {
    HWND found = nullptr;
    wait_until([&] { return (found = find_window(pid, predicate)) != nullptr; }, timeout, what,
               [&] { return describe_windows(pid); });
    return found;
}

void wait_gone(HWND window, Timeout timeout, std::string_view what) {
    wait_until([&] { return !IsWindow(window); }, timeout, what,
               [&] { return "still there: " + info(window).describe(); });
}

WindowPredicate with_class(std::wstring name, bool visible_only) {
    return [name = std::move(name), visible_only](const WindowInfo& w) {
        return same_class(w.class_name, name) && (w.visible || !visible_only);
    };
}

WindowPredicate with_text(std::wstring text, bool visible_only) {
    return [text = std::move(text), visible_only](const WindowInfo& w) {
        return w.text == text && (w.visible || !visible_only);
    };
}

WindowPredicate any_visible() {
    return [](const WindowInfo& w) { return w.visible; };
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collect_child, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND find_child(HWND parent, const WindowPredicate& predicate) {
    for (HWND child : children(parent)) {
        if (predicate(info(child))) return child;
    }
    return nullptr;
}

HWND find_child_by_text(HWND parent, std::wstring_view text) {
    return find_child(parent, with_text(std::wstring(text), false));
}

HWND find_child_by_class(HWND parent, std::wstring_view name) {
    return find_child(parent, with_class(std::wstring(name), false));
}

std::string describe_children(HWND parent) {
    std::string result = "children of " + hex(reinterpret_cast<std::uintptr_t>(parent)) + ":";
    for (HWND child : children(parent)) {
        const WindowInfo child_info = info(child);
        result += "\n  id " + number(child_info.id) + " " + child_info.describe();
    }
    return result;
}

GuiState gui_state(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (thread == 0 || !GetGUIThreadInfo(thread, &gui)) fail_call("GetGUIThreadInfo");
    return {gui.hwndFocus, gui.hwndActive, gui.hwndCapture};
}

GuiState gui_state(DWORD pid) {
    const auto windows = top_windows(pid);
    if (windows.empty()) throw Failure("process " + number(pid) + " has no window");
    return gui_state(windows.front());
}

// --- input ---------------------------------------------------------------

void post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!PostMessageW(window, message, wparam, lparam)) {
        throw Failure(last_error_text("PostMessageW") + " (message " + hex(message) + " to " +
                      hex(reinterpret_cast<std::uintptr_t>(window)) + ")");
    }
}

void click_button(HWND button) { post(button, BM_CLICK); }

void post_char(HWND window, wchar_t character) { post(window, WM_CHAR, character, 1); }

void post_chars(HWND window, std::wstring_view text) {
    for (wchar_t c : text) post_char(window, c);
}

void post_timer(HWND window, UINT_PTR timer_id) { post(window, WM_TIMER, timer_id, 0); }

void post_close(HWND window) { post(window, WM_CLOSE); }

void post_command(HWND window, int id) { post(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void bring_to_foreground(HWND window, Timeout timeout) {
    HWND root = GetAncestor(window, GA_ROOT);
    if (!root) root = window;
    // Keys go to the focus of the foreground thread: wait until that thread
    // has made the window active and put the focus in it, not only until the
    // system calls it the foreground window.
    auto ready = [root] {
        if (GetForegroundWindow() != root) return false;
        const GuiState state = gui_state(root);
        return state.active == root && state.focus &&
               (state.focus == root || IsChild(root, state.focus));
    };
    if (ready()) return;
    SetForegroundWindow(root);
    wait_until(ready, timeout, "window " + info(root).describe() + " in the foreground with the focus",
               [root] {
                   HWND foreground = GetForegroundWindow();
                   const GuiState state = gui_state(root);
                   auto name = [](HWND w) { return w ? info(w).describe() : std::string("none"); };
                   return "foreground " + name(foreground) + ", active " + name(state.active) +
                          ", focus " + name(state.focus);
               });
}

void send_keys(HWND target, const std::vector<Key>& keys) {
    bring_to_foreground(target);
    std::vector<INPUT> inputs;
    for (const Key& key : keys) append_chord(inputs, key);
    send_input(inputs);
}

void send_keys(HWND target, std::initializer_list<Key> keys) {
    send_keys(target, std::vector<Key>(keys));
}

void send_text(HWND target, std::wstring_view text) {
    bring_to_foreground(target);
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | up;
            inputs.push_back(input);
        }
    }
    send_input(inputs);
}

void click_at(POINT screen_point) {
    // Under Wine the cursor follows the X pointer, which Wine cannot warp
    // into its virtual desktop once it lies outside it (a larger X screen,
    // another session's desktop); a cursor clip can, so the click happens
    // inside a one-pixel clip at the point.
    const RECT spot{screen_point.x, screen_point.y, screen_point.x + 1, screen_point.y + 1};
    CursorClip clip(spot);
    // Absolute mouse coordinates run from 0 to 65535 across the virtual
    // screen; pixel x is reached by the smallest value that maps back onto it.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    auto normalise = [](long offset, int extent) {
        return static_cast<LONG>((static_cast<long long>(offset) * 65536 + extent - 1) / extent);
    };
    std::vector<INPUT> move(1);
    move[0].type = INPUT_MOUSE;
    move[0].mi.dx = normalise(screen_point.x - left, width);
    move[0].mi.dy = normalise(screen_point.y - top, height);
    move[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    send_input(move);
    // The button goes down only once the pointer is there: the first move of a
    // fresh session can take a moment to land.
    wait_until(
        [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == screen_point.x && at.y == screen_point.y;
        },
        kDefaultTimeout, "the mouse pointer at the point to click");
    std::vector<INPUT> press(2);
    for (auto& input : press) input.type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send_input(press);
}

POINT centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// --- message boxes -------------------------------------------------------

bool MessageBoxInfo::has_button(int id) const {
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

std::string MessageBoxInfo::describe() const {
    std::string result = hex(reinterpret_cast<std::uintptr_t>(hwnd)) + " title \"" + utf8(title) +
                         "\" text \"" + utf8(text) + "\" buttons";
    for (int id : buttons) result += " " + number(id);
    result += has_icon ? " icon" : " no icon";
    result += " owner " + hex(reinterpret_cast<std::uintptr_t>(owner));
    return result;
}

MessageBoxInfo read_message_box(HWND box) {
    MessageBoxInfo result;
    result.hwnd = box;
    result.title = window_text(box);
    result.owner = GetWindow(box, GW_OWNER);
    if (HWND text = GetDlgItem(box, kMessageBoxTextId)) result.text = window_text(text);
    for (HWND child : children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring name = class_name(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (same_class(name, L"Button")) {
            result.buttons.push_back(GetDlgCtrlID(child));
        } else if (same_class(name, L"Static") && (style & SS_TYPEMASK) == SS_ICON) {
            const auto icon = send_with_timeout(child, STM_GETICON, 0, 0);
            result.has_icon = result.has_icon || (icon && *icon != 0);
        }
    }
    return result;
}

std::vector<HWND> message_boxes(DWORD pid) {
    std::vector<HWND> boxes;
    for (HWND window : top_windows(pid, true)) {
        if (same_class(class_name(window), kDialogClass)) boxes.push_back(window);
    }
    return boxes;
}

MessageBoxInfo wait_for_message_box(DWORD pid, Timeout timeout, std::string_view what,
                                    const std::function<bool(const MessageBoxInfo&)>& predicate) {
    MessageBoxInfo found;
    auto look = [&] {
        for (HWND box : message_boxes(pid)) {
            MessageBoxInfo box_info = read_message_box(box);
            if (!predicate || predicate(box_info)) {
                found = std::move(box_info);
                return true;
            }
        }
        return false;
    };
    auto seen = [&] {
        std::string result;
        for (HWND box : message_boxes(pid)) result += "\n  box " + read_message_box(box).describe();
        return result + "\n" + describe_windows(pid);
    };
    wait_until(look, timeout, what, seen);
    return found;
}

MessageBoxInfo wait_for_message_box_text(DWORD pid, std::wstring_view text, Timeout timeout) {
    return wait_for_message_box(pid, timeout, "a message box with text \"" + utf8(text) + "\"",
                                [text](const MessageBoxInfo& box) { return box.text == text; });
}

void answer(HWND box, int id) {
    post(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

// --- screenshots ---------------------------------------------------------

COLORREF Screenshot::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw Failure("pixel (" + number(x) + "," + number(y) + ") outside a " + number(width_) +
                      "x" + number(height_) + " screenshot");
    }
    const std::uint32_t value = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

COLORREF Screenshot::screen_pixel(POINT screen_point) const {
    return pixel(screen_point.x - origin_.x, screen_point.y - origin_.y);
}

void Screenshot::save_bmp(std::wstring_view path) const {
    constexpr int kBytesPerPixel = 3;
    const DWORD stride = (static_cast<DWORD>(width_) * kBytesPerPixel + 3) & ~DWORD{3};
    const DWORD image_size = stride * static_cast<DWORD>(height_);

    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + image_size;
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;  // positive: rows bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = image_size;

    std::vector<unsigned char> bytes(file.bfSize, 0);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &header, sizeof header);
    for (int y = 0; y < height_; ++y) {
        unsigned char* row = bytes.data() + file.bfOffBits + stride * static_cast<DWORD>(height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t value = pixels_[static_cast<std::size_t>(y) * width_ + x];
            row[x * kBytesPerPixel + 0] = value & 0xFF;          // blue
            row[x * kBytesPerPixel + 1] = (value >> 8) & 0xFF;   // green
            row[x * kBytesPerPixel + 2] = (value >> 16) & 0xFF;  // red
        }
    }

    const std::wstring file_path = windows_path(path);
    Handle out(CreateFileW(file_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) throw Failure(last_error_text("CreateFileW") + " for " + utf8(file_path));
    DWORD written = 0;
    if (!WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw Failure(last_error_text("WriteFile") + " for " + utf8(file_path));
    }
}

Screenshot screenshot(const RECT& screen_rect) {
    const int width = screen_rect.right - screen_rect.left;
    const int height = screen_rect.bottom - screen_rect.top;
    if (width <= 0 || height <= 0) throw Failure("empty screenshot rect " + describe_rect(screen_rect));

    ScreenDc screen;
    MemoryDc memory(screen.get());
    BITMAPINFO bitmap_info{};
    bitmap_info.bmiHeader.biSize = sizeof bitmap_info.bmiHeader;
    bitmap_info.bmiHeader.biWidth = width;
    bitmap_info.bmiHeader.biHeight = -height;  // negative: rows top-down
    bitmap_info.bmiHeader.biPlanes = 1;
    bitmap_info.bmiHeader.biBitCount = 32;
    bitmap_info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &bitmap_info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.get() || !bits) fail_call("CreateDIBSection");
    {
        ScopedSelect select(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), screen_rect.left,
                    screen_rect.top, SRCCOPY | CAPTUREBLT)) {
            fail_call("BitBlt");
        }
        GdiFlush();
    }
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
    for (auto& value : pixels) value &= 0x00FFFFFF;
    return Screenshot({screen_rect.left, screen_rect.top}, width, height, std::move(pixels));
}

Screenshot screenshot(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) fail_call("GetWindowRect");
    return screenshot(rect);
}

std::string describe_colour(COLORREF colour) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return buffer;
}

}  // namespace drv
