// The shell on real windows: opening in dialog mode, its modal loop, the
// windows it disables and gives back, and always on top.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program_window.h"
#include "app/shell.h"
#include "app/window_classes.h"
#include "main_window/gui.h"

namespace br {
namespace {

// Each tick of the test window's timer runs the next step of the test, inside
// whatever modal loop is running at that moment.
std::vector<std::function<void()>> steps;
void run_next_step(Gui&) {
    if (steps.empty()) return;
    auto step = std::move(steps.front());
    steps.erase(steps.begin());
    step();
}

constexpr char kTimer[] = "timer";
constexpr ControlDefinition kTestControls[] = {
    {ControlKind::Timer, kTimer, {0, 0, 0, 0}, "", false, false, false, 0, 0, TextAlign::Left, run_next_step},
};
const WindowDefinition kTestMain = {"main", Frame::FixedCaption, 300, 200, false, false, {}, kTestControls};
const WindowDefinition kTestDialog = {"", Frame::None, 200, 100, true, true, {}, {}};
const WindowDefinition kInnerDialog = {"", Frame::None, 120, 80, true, true, {}, {}};

class NoGui final : public Gui {
public:
    std::optional<std::string> read_text(std::string_view) override { return std::nullopt; }
    int read_tick(std::string_view) override { return 0; }
    void write_tick(std::string_view, int) override {}
    void hide(std::string_view) override {}
    void disable(std::string_view) override {}
    void write_timer_period(std::string_view, std::int64_t) override {}
    BoxResult message_box(std::string_view, Buttons, std::string_view, NativeHandle) override {
        return BoxResult::Ok;
    }
    NativeHandle main_window_handle() override { return 0; }
    void write_always_on_top(bool) override {}
    bool open_picture_window() override { return false; }
    void hibernate() override {}
    void fatal_error(std::string_view, std::uint32_t) override { std::abort(); }
};

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The main window's enabled state when a window of the program other than it
// is destroyed.
bool main_enabled_at_destroy;
HWND watched;
LRESULT CALLBACK watch_destroy(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && call->message == WM_DESTROY && class_of(call->hwnd) == kWindowClass &&
        call->hwnd != watched) {
        main_enabled_at_destroy = IsWindowEnabled(watched);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK count_program_windows(HWND window, LPARAM count) {
    if (class_of(window) == kWindowClass) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        steps.clear();
        shell_ = Shell::create(GetModuleHandleW(nullptr));
        ASSERT_TRUE(shell_);
        shell_->set_gui(gui_);
        ASSERT_TRUE(shell_->open_window(kTestMain, false));
        main_ = shell_->find(kTestMain)->window();
        timer_ = shell_->find(kTestMain)->control(kTimer);
    }
    void TearDown() override {
        steps.clear();
        shell_.reset();
        // Drop what the destroyed windows left in the queue, WM_QUIT included.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Runs `step` on the next tick, from whatever loop is running then.
    void on_next_tick(std::function<void()> step) {
        steps.push_back(std::move(step));
        PostMessageW(timer_, WM_TIMER, TimerPeriod::kTickTimer, 0);
    }

    NoGui gui_;
    std::unique_ptr<Shell> shell_;
    HWND main_ = nullptr;
    HWND timer_ = nullptr;
};

TEST_F(ShellTest, DialogModeDisablesTheOthersUntilClosedAndIsOwnedByTheHiddenOwner) {
    HWND dialog = nullptr;
    bool main_enabled_while_open = true;
    on_next_tick([&] {
        dialog = shell_->find(kTestDialog)->window();
        main_enabled_while_open = IsWindowEnabled(main_);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    // Watch the main window's state at the moment the dialog is destroyed.
    main_enabled_at_destroy = false;
    watched = main_;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watch_destroy, nullptr, GetCurrentThreadId());

    EXPECT_TRUE(shell_->open_window(kTestDialog, true));
    UnhookWindowsHookEx(hook);

    ASSERT_NE(dialog, nullptr) << "the tick inside the modal loop never ran";
    EXPECT_FALSE(main_enabled_while_open) << "the main window was enabled while the dialog was open";
    EXPECT_TRUE(main_enabled_at_destroy) << "the main window was still disabled when the dialog was destroyed";
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_FALSE(IsWindow(dialog)) << "open window returned before the dialog was destroyed";
    EXPECT_EQ(shell_->find(kTestDialog), nullptr);
}

TEST_F(ShellTest, DialogHasNoTaskbarButtonAndTheOwnerIsAHiddenToolWindow) {
    HWND owner = nullptr;
    LONG_PTR style = 0, extended = 0, owner_extended = 0;
    bool owner_visible = true;
    on_next_tick([&] {
        HWND dialog = shell_->find(kTestDialog)->window();
        owner = GetWindow(dialog, GW_OWNER);
        style = GetWindowLongPtrW(dialog, GWL_STYLE);
        extended = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
        owner_extended = GetWindowLongPtrW(owner, GWL_EXSTYLE);
        owner_visible = IsWindowVisible(owner);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    shell_->open_window(kTestDialog, true);
    ASSERT_NE(owner, nullptr) << "the dialog has no owner";
    EXPECT_NE(owner, main_);
    EXPECT_EQ(class_of(owner), kOwnerClass);
    EXPECT_TRUE(owner_extended & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(owner_visible);
    EXPECT_FALSE(extended & WS_EX_APPWINDOW);
    EXPECT_TRUE(extended & WS_EX_TOPMOST) << "the dialog definition asks for always on top";
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
}

TEST_F(ShellTest, OpeningAnOpenWindowCreatesNothingAndReturnsAtOnce) {
    bool second = false;
    int windows_of_class = 0;
    on_next_tick([&] {
        second = shell_->open_window(kTestDialog, true);  // returns at once: no second loop
        EnumThreadWindows(GetCurrentThreadId(), count_program_windows,
                          reinterpret_cast<LPARAM>(&windows_of_class));
        PostMessageW(shell_->find(kTestDialog)->window(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(shell_->open_window(kTestDialog, true));
    EXPECT_TRUE(second);
    EXPECT_EQ(windows_of_class, 2) << "main and one dialog";
}

TEST_F(ShellTest, NestedModalLoopsReturnInnermostFirst) {
    std::vector<std::string> returns;
    on_next_tick([&] {
        on_next_tick([&] { PostMessageW(shell_->find(kInnerDialog)->window(), WM_CLOSE, 0, 0); });
        shell_->open_window(kInnerDialog, true);
        returns.push_back("inner");
        EXPECT_TRUE(shell_->find(kTestDialog)) << "the outer dialog closed with the inner one";
        EXPECT_FALSE(IsWindowEnabled(main_)) << "closing the inner dialog enabled the main window";
        PostMessageW(shell_->find(kTestDialog)->window(), WM_CLOSE, 0, 0);
    });
    shell_->open_window(kTestDialog, true);
    returns.push_back("outer");
    EXPECT_EQ(returns, (std::vector<std::string>{"inner", "outer"}));
    EXPECT_TRUE(IsWindowEnabled(main_));
}

TEST_F(ShellTest, QuitInsideTheModalLoopIsLeftForTheOuterLoop) {
    on_next_tick([] { PostQuitMessage(5); });
    EXPECT_TRUE(shell_->open_window(kTestDialog, true));
    EXPECT_EQ(shell_->run_event_loop(), 5);
}

TEST_F(ShellTest, ClosingTheLastWindowEndsTheEventLoopWithZero) {
    PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(shell_->run_event_loop(), 0);
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(ShellTest, AlwaysOnTopWrites) {
    ProgramWindow* window = shell_->find(kTestMain);
    ShowWindow(main_, SW_SHOW);
    const auto topmost = [&] { return (GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_FALSE(topmost());
    window->write_always_on_top(true);
    EXPECT_TRUE(topmost());
    window->write_always_on_top(true);
    EXPECT_TRUE(topmost());
    window->write_always_on_top(false);
    EXPECT_FALSE(topmost());

    ShowWindow(main_, SW_MINIMIZE);
    window->write_always_on_top(true);
    EXPECT_TRUE(IsIconic(main_)) << "always on top restored a minimised window";
    EXPECT_TRUE(topmost());
}

}  // namespace
}  // namespace br
