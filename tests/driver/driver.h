#pragma once
// A driver for end-to-end tests: starts a program, finds its windows by
// process, reads what they show and feeds them input, the way a user would.
// It runs as a Win32 program in the same Wine session (same prefix, same
// desktop) as the program under test.
//
// Waiting: every wait polls a condition until a deadline and throws
// drv::Failure naming what was awaited and what was last seen. GoogleTest
// reports an exception thrown in a test body as that test's failure; the
// Process destructor still ends the program while the exception unwinds.
//
// Input: everything that can make the target open a modal box is posted,
// never sent, so the driver cannot block inside the target's modal loop.
// Input through SendInput and posted messages reach the target in no fixed
// order (posted messages come before queued input): wait for the effect of
// one before sending the other.
//
// Test programs: driver_tests finds the fixture program through the
// environment variable BR_FIXTURE (a Unix or Windows path, set by CTest), and
// falls back to fixture_window.exe beside itself. e2e_tests finds the
// program under test through BR_PROGRAM.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace drv {

// A time limit in milliseconds. A plain type, because in C++20 GCC 12's
// <chrono> holds the literal "\u00b5s", which the GBK execution charset
// the project compiles with cannot encode.
struct Timeout {
    DWORD ms;
};
// Long enough for a cold Wine session on a loaded machine.
inline constexpr Timeout kDefaultTimeout{10'000};

// A wait that ran out, or a call into Windows that failed. what() is UTF-8.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- text ----------------------------------------------------------------

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view utf8_text);
// The value of an environment variable, or an empty string when unset.
std::wstring environment(const wchar_t* name);
// "/x/y" becomes "Z:\x\y" (Wine maps the Unix root to drive Z:); anything
// else is returned as it is.
std::wstring windows_path(std::wstring_view path);

// --- waiting -------------------------------------------------------------

// Polls `condition` until it holds; on timeout throws Failure naming `what`
// and, when `seen` is given, what it describes at that moment.
void wait_until(const std::function<bool()>& condition, Timeout timeout, std::string_view what,
                const std::function<std::string()>& seen = {});

// --- handles -------------------------------------------------------------

// Owns one kernel handle.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept;
    Handle& operator=(Handle&& other) noexcept;
    ~Handle();
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    void close();
    HANDLE handle_ = nullptr;
};

// --- processes -----------------------------------------------------------

// A started program. The destructor ends it if it still runs and waits until
// it has gone, so a failing test leaves no process behind.
class Process {
public:
    // Starts `exe` (a Unix or Windows path) with `args`, each quoted as
    // CommandLineToArgvW reads it back, in `working_dir` (empty: the
    // driver's own). Throws Failure when the program cannot start.
    static Process start(std::wstring_view exe, const std::vector<std::wstring>& args = {},
                         std::wstring_view working_dir = {});


    Process() = default;  // owns no process
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    ~Process();

    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_.get(); }
    bool running() const;
    // The exit code once the process has ended within `timeout` (an exit
    // code of -1 reads 0xFFFFFFFF), else nothing.
    std::optional<DWORD> wait_exit(Timeout timeout) const;
    // Ends the process at once (exit code `code`) and waits until it has gone.
    void terminate(UINT code = 1);

private:
    Process(Handle process, DWORD pid) : process_(std::move(process)), pid_(pid) {}
    Handle process_;
    DWORD pid_ = 0;
};

// --- windows -------------------------------------------------------------

struct WindowInfo {
    HWND hwnd = nullptr;
    std::wstring class_name;
    std::wstring text;
    RECT rect{};            // screen coordinates
    RECT rect_in_parent{};  // in the parent's client area; the screen rect for a top-level window
    RECT client{};          // client area, at (0, 0)
    LONG_PTR style = 0;
    LONG_PTR exstyle = 0;
    HWND owner = nullptr;
    HWND parent = nullptr;  // GetAncestor(GA_PARENT) for a child, nothing for a top-level window
    int id = 0;             // control id of a child window
    bool enabled = false;
    bool visible = false;
    bool topmost = false;
    bool minimised = false;

    // One line for failure messages: handle, class, text, visible, rect.
    std::string describe() const;
};

using WindowPredicate = std::function<bool(const WindowInfo&)>;

WindowInfo info(HWND window);
// The window's text through WM_GETTEXT, sent with a timeout so a hung
// target cannot block the driver.
std::wstring window_text(HWND window);
std::wstring class_name(HWND window);

// Top-level windows of the process, in Z order.
std::vector<HWND> top_windows(DWORD pid, bool visible_only = false);
// The first top-level window of the process that satisfies `predicate`.
HWND find_window(DWORD pid, const WindowPredicate& predicate);
// Waits for find_window to find one; on timeout the failure names `what` and
// lists every top-level window of the process.
HWND wait_for_window(DWORD pid, const WindowPredicate& predicate, Timeout timeout,
                     std::string_view what);
// Waits until `window` has been destroyed.
void wait_gone(HWND window, Timeout timeout, std::string_view what);

// Predicates for the searches.
WindowPredicate with_class(std::wstring class_name, bool visible_only = true);
WindowPredicate with_text(std::wstring text, bool visible_only = true);
WindowPredicate any_visible();

// All descendants of `parent`, in EnumChildWindows order.
std::vector<HWND> children(HWND parent);
HWND find_child(HWND parent, const WindowPredicate& predicate);
HWND find_child_by_text(HWND parent, std::wstring_view text);
HWND find_child_by_class(HWND parent, std::wstring_view class_name);
// Lists the children of `parent`, one line each, for failure messages.
std::string describe_children(HWND parent);
// Lists the top-level windows of `pid`, one line each, for failure messages.
std::string describe_windows(DWORD pid);

// Focus and activation as the GUI thread that owns `window` sees them.
struct GuiState {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};
GuiState gui_state(HWND window);
// The same for the process: taken from the thread of its first top-level window.
GuiState gui_state(DWORD pid);

// --- input ---------------------------------------------------------------

void post(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
void click_button(HWND button);       // posts BM_CLICK
void post_char(HWND window, wchar_t character);
void post_chars(HWND window, std::wstring_view text);
void post_timer(HWND window, UINT_PTR timer_id);
void post_close(HWND window);
void post_command(HWND window, int id);  // WM_COMMAND with the id, as a menu or accelerator sends it

enum Modifier : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
inline Modifier operator|(Modifier a, Modifier b) { return Modifier(unsigned(a) | unsigned(b)); }
struct Key {
    WORD vk;
    Modifier modifiers = kNone;
};
// Named chords.
inline constexpr Key kTab{VK_TAB}, kShiftTab{VK_TAB, kShift}, kEsc{VK_ESCAPE},
    kCtrlEsc{VK_ESCAPE, kCtrl}, kShiftEsc{VK_ESCAPE, kShift}, kAltEsc{VK_ESCAPE, kAlt},
    kAltF4{VK_F4, kAlt}, kEnter{VK_RETURN}, kF1{VK_F1}, kSpace{VK_SPACE};

// Brings the top-level window of `target` to the foreground, waits until it
// is active with the focus in it, then types each chord through SendInput
// (modifiers down, key down and up, modifiers up). The keys go to whichever
// control of that window has the focus; a window that keeps no focus at all
// fails the wait.
void send_keys(HWND target, std::initializer_list<Key> keys);
void send_keys(HWND target, const std::vector<Key>& keys);
// Types `text` as Unicode characters through SendInput.
void send_text(HWND target, std::wstring_view text);
void bring_to_foreground(HWND window, Timeout timeout = kDefaultTimeout);
// A left click at a screen point through SendInput, made while the cursor
// is clipped to that pixel (Wine's cursor follows the X pointer, which it
// cannot warp into a virtual desktop from outside it; a clip can). Check the
// click's effect, not GetCursorPos, which under Wine reads the X pointer
// once the position set by SendInput is 100 ms old.
void click_at(POINT screen_point);
POINT centre(const RECT& rect);

// --- message boxes -------------------------------------------------------

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;     // the static control 0xFFFF
    HWND owner = nullptr;
    std::vector<int> buttons;  // ids of the visible buttons, in child order
    bool has_icon = false;     // a visible SS_ICON static that holds an icon
    bool has_button(int id) const;
    std::string describe() const;
};

inline constexpr wchar_t kDialogClass[] = L"#32770";

MessageBoxInfo read_message_box(HWND box);
// Visible dialog-class top-level windows of the process.
std::vector<HWND> message_boxes(DWORD pid);
// Waits for a visible message box of the process that satisfies `predicate`
// (any box when none is given), read whole at the moment it matched.
MessageBoxInfo wait_for_message_box(DWORD pid, Timeout timeout, std::string_view what,
                                    const std::function<bool(const MessageBoxInfo&)>& predicate = {});
MessageBoxInfo wait_for_message_box_text(DWORD pid, std::wstring_view text, Timeout timeout);
// Answers the box as its button `id` would (posts WM_COMMAND id).
void answer(HWND box, int id);

// --- screenshots ---------------------------------------------------------

// Pixels copied from the screen.
class Screenshot {
public:
    Screenshot() = default;
    Screenshot(POINT origin, int width, int height, std::vector<std::uint32_t> pixels)
        : origin_(origin), width_(width), height_(height), pixels_(std::move(pixels)) {}
    int width() const { return width_; }
    int height() const { return height_; }
    POINT origin() const { return origin_; }  // screen point of pixel (0, 0)
    // The pixel at (x, y) from the shot's top-left corner; throws when outside.
    COLORREF pixel(int x, int y) const;
    // The pixel at a screen point; throws when outside the shot.
    COLORREF screen_pixel(POINT screen_point) const;
    // Writes a 24-bit bottom-up BMP file; throws Failure when it cannot.
    void save_bmp(std::wstring_view path) const;

private:
    POINT origin_{};
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;  // top-down rows of 0x00RRGGBB
};

// Under Wine the pixels come from the X display: where another session's
// desktop window lies above this one on the same display (no window
// manager, every desktop at 0,0), they are that window's, or black.
Screenshot screenshot(const RECT& screen_rect);
Screenshot screenshot(HWND window);  // its window rect

std::string describe_colour(COLORREF colour);  // "#RRGGBB"

}  // namespace drv
