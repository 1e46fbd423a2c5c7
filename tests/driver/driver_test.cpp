// The driver against fixture_window.exe: every call a test of the program
// under test will make, tried on a window whose behaviour is known.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "driver.h"

namespace {

// The fixture's layout and texts, as fixture_window.cpp sets them.
constexpr wchar_t kFixtureClass[] = L"DriverFixture";
constexpr wchar_t kFixtureTitle[] = L"fixture";
constexpr wchar_t kButtonText[] = L"按钮";
constexpr wchar_t kEditText[] = L"编辑框";
constexpr wchar_t kBoxTitle[] = L"提示";
constexpr wchar_t kBoxText[] = L"你好";
constexpr int kEditId = 100;
constexpr int kButtonId = 101;
constexpr int kDirectoryId = 102;
constexpr int kLastInputId = 103;
constexpr RECT kButtonRect{10, 50, 110, 80};
constexpr POINT kMarkCentre{270, 30};
constexpr COLORREF kMarkColour = RGB(0x20, 0x80, 0xC0);
constexpr DWORD kFixtureExitCode = 7;

std::wstring fixture_path() {
    std::wstring path = drv::environment(L"BR_FIXTURE");
    if (!path.empty()) return path;
    // Run by hand: the fixture lies beside this test program.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"fixture_window.exe";
}

std::wstring directory_of(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/"));
}

bool same_path(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class DriverTest : public ::testing::Test {
protected:
    void start(const std::vector<std::wstring>& args = {}, std::wstring_view working_dir = {}) {
        process_ = drv::Process::start(fixture_path(), args, working_dir);
        window_ = drv::wait_for_window(process_.pid(), drv::with_class(kFixtureClass),
                                       drv::kDefaultTimeout, "the fixture window");
    }

    HWND child(int id) const {
        HWND found = GetDlgItem(window_, id);
        if (!found) throw drv::Failure("no child " + std::to_string(id) + "; " + drv::describe_children(window_));
        return found;
    }

    void wait_for_title(const std::wstring& title) const {
        drv::wait_until([&] { return drv::window_text(window_) == title; }, drv::kDefaultTimeout,
                        "fixture title \"" + drv::utf8(title) + "\"",
                        [&] { return "title \"" + drv::utf8(drv::window_text(window_)) + "\""; });
    }

    void wait_for_focus(HWND expected, std::string_view what) const {
        drv::wait_until([&] { return drv::gui_state(window_).focus == expected; },
                        drv::kDefaultTimeout, what, [&] {
                            HWND focus = drv::gui_state(window_).focus;
                            return focus ? "focus on " + drv::info(focus).describe()
                                         : std::string("no focus");
                        });
    }

    drv::Process process_;
    HWND window_ = nullptr;
};

TEST_F(DriverTest, ReadsTheWindowAndItsControls) {
    start();
    const drv::WindowInfo window = drv::info(window_);
    EXPECT_EQ(window.text, kFixtureTitle);
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.enabled);
    EXPECT_FALSE(window.topmost);
    EXPECT_FALSE(window.minimised);
    EXPECT_EQ(window.owner, nullptr);
    EXPECT_EQ(window.parent, nullptr);

    HWND button = drv::find_child_by_text(window_, kButtonText);
    ASSERT_NE(button, nullptr) << drv::describe_children(window_);
    const drv::WindowInfo button_info = drv::info(button);
    EXPECT_EQ(button_info.class_name, L"Button");
    EXPECT_EQ(button_info.id, kButtonId);
    EXPECT_EQ(button_info.parent, window_);
    EXPECT_EQ(button_info.rect_in_parent.left, kButtonRect.left);
    EXPECT_EQ(button_info.rect_in_parent.top, kButtonRect.top);
    EXPECT_EQ(button_info.rect_in_parent.right, kButtonRect.right);
    EXPECT_EQ(button_info.rect_in_parent.bottom, kButtonRect.bottom);
    EXPECT_TRUE(button_info.style & WS_TABSTOP);

    HWND edit = drv::find_child_by_class(window_, L"Edit");
    ASSERT_EQ(edit, child(kEditId)) << drv::describe_children(window_);
    EXPECT_EQ(drv::window_text(edit), kEditText);
    EXPECT_EQ(drv::top_windows(process_.pid(), true), std::vector<HWND>{window_});
}

TEST_F(DriverTest, PassesArgumentsAndWorkingDirectory) {
    const std::wstring directory = directory_of(fixture_path());
    start({L"a b", L"say \"hi\"", L"back\\slash\\", L"汉字"}, directory);
    EXPECT_EQ(drv::window_text(child(kEditId)), L"a b|say \"hi\"|back\\slash\\|汉字");
    const std::wstring seen = drv::window_text(child(kDirectoryId));
    EXPECT_TRUE(same_path(seen, drv::windows_path(directory)))
        << "working directory " << drv::utf8(seen) << ", expected " << drv::utf8(drv::windows_path(directory));
}

TEST_F(DriverTest, AnswersTheMessageBoxAButtonOpens) {
    start();
    drv::click_button(child(kButtonId));
    drv::MessageBoxInfo box = drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    EXPECT_EQ(box.title, kBoxTitle);
    EXPECT_EQ(box.owner, window_);
    EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL})) << box.describe();
    EXPECT_FALSE(box.has_icon) << box.describe();
    drv::answer(box.hwnd, IDOK);
    wait_for_title(L"ok");
    drv::wait_gone(box.hwnd, drv::kDefaultTimeout, "the answered box to close");

    drv::click_button(child(kButtonId));
    box = drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    drv::answer(box.hwnd, IDCANCEL);
    wait_for_title(L"cancel");
}

TEST_F(DriverTest, SeesTheIconOfAMessageBox) {
    start({L"--icon"});
    drv::click_button(child(kButtonId));
    const drv::MessageBoxInfo box =
        drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    EXPECT_TRUE(box.has_icon) << box.describe();
    EXPECT_TRUE(box.has_button(IDOK) && box.has_button(IDCANCEL)) << box.describe();
}

TEST_F(DriverTest, PostsTimerMessages) {
    start();
    drv::post_timer(window_, 42);
    wait_for_title(L"timer 42");
}

TEST_F(DriverTest, ClosingGivesTheExitCode) {
    start();
    EXPECT_FALSE(process_.wait_exit(drv::Timeout{0}).has_value());
    drv::post_close(window_);
    EXPECT_EQ(process_.wait_exit(drv::kDefaultTimeout), std::optional<DWORD>(kFixtureExitCode));
    EXPECT_FALSE(process_.running());
}

TEST_F(DriverTest, DestructorEndsTheProcessEvenWithABoxOpen) {
    DWORD pid = 0;
    {
        drv::Process process = drv::Process::start(fixture_path());
        pid = process.pid();
        HWND window = drv::wait_for_window(pid, drv::with_class(kFixtureClass), drv::kDefaultTimeout,
                                           "the fixture window");
        drv::click_button(GetDlgItem(window, kButtonId));
        drv::wait_for_message_box_text(pid, kBoxText, drv::kDefaultTimeout);
    }
    drv::Handle handle(OpenProcess(SYNCHRONIZE, FALSE, pid));
    EXPECT_TRUE(!handle || WaitForSingleObject(handle.get(), 0) == WAIT_OBJECT_0)
        << "process " << pid << " still runs";
    EXPECT_TRUE(drv::top_windows(pid).empty()) << drv::describe_windows(pid);
}

TEST_F(DriverTest, AFailedWaitNamesWhatItAwaitedAndWhatItSaw) {
    start();
    try {
        drv::wait_for_window(process_.pid(), drv::with_class(L"NoSuchClass"), drv::Timeout{100}, "a window that never comes");
        FAIL() << "the wait did not fail";
    } catch (const drv::Failure& failure) {
        const std::string message = failure.what();
        EXPECT_NE(message.find("a window that never comes"), std::string::npos) << message;
        EXPECT_NE(message.find("\"DriverFixture\" text \"fixture\" visible"), std::string::npos) << message;
    }
}

TEST_F(DriverTest, StartingAMissingProgramFails) {
    EXPECT_THROW(drv::Process::start(L"/no/such/program.exe"), drv::Failure);
}

TEST_F(DriverTest, KeysMoveTheFocusAndAnswerTheBox) {
    start();
    drv::bring_to_foreground(window_);
    wait_for_focus(child(kEditId), "focus on the edit box");
    drv::send_keys(window_, {drv::kTab});
    wait_for_focus(child(kButtonId), "focus on the button after Tab");
    drv::send_keys(window_, {drv::kShiftTab});
    wait_for_focus(child(kEditId), "focus on the edit box after Shift+Tab");
    drv::send_keys(window_, {drv::kTab, drv::kSpace});
    drv::MessageBoxInfo box = drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    drv::send_keys(box.hwnd, {drv::kEsc});
    wait_for_title(L"cancel");
    drv::send_keys(window_, {drv::kSpace});
    box = drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    drv::send_keys(box.hwnd, {drv::kEnter});
    wait_for_title(L"ok");
    drv::send_keys(window_, {drv::kAltF4});
    EXPECT_EQ(process_.wait_exit(drv::kDefaultTimeout), std::optional<DWORD>(kFixtureExitCode));
}

TEST_F(DriverTest, DeliversKeyChords) {
    struct Case {
        drv::Key key;
        std::wstring seen;  // virtual key and modifiers, as the fixture shows them
    };
    const Case cases[] = {
        {drv::kTab, L"9"},           {drv::kShiftTab, L"9 shift"}, {drv::kEsc, L"27"},
        {drv::kCtrlEsc, L"27 ctrl"}, {drv::kShiftEsc, L"27 shift"}, {drv::kAltEsc, L"27 alt"},
        {drv::kEnter, L"13"},        {drv::kF1, L"112"},           {drv::kSpace, L"32"},
    };
    start();
    HWND last_input = child(kLastInputId);
    int count = 0;
    for (const Case& c : cases) {
        drv::send_keys(window_, {c.key});
        const std::wstring expected = std::to_wstring(++count) + L": " + c.seen;
        drv::wait_until([&] { return drv::window_text(last_input) == expected; }, drv::kDefaultTimeout,
                        "key \"" + drv::utf8(expected) + "\"",
                        [&] { return "\"" + drv::utf8(drv::window_text(last_input)) + "\""; });
    }
}

TEST_F(DriverTest, TypesAndPostsCharacters) {
    start();
    HWND edit = child(kEditId);
    drv::bring_to_foreground(window_);
    wait_for_focus(edit, "focus on the edit box");
    auto wait_for_edit_text = [&](const std::wstring& text) {
        drv::wait_until([&] { return drv::window_text(edit).find(text) != std::wstring::npos; },
                        drv::kDefaultTimeout, "\"" + drv::utf8(text) + "\" in the edit box",
                        [&] { return "\"" + drv::utf8(drv::window_text(edit)) + "\""; });
    };
    // Typed input and posted messages reach the program in no fixed order:
    // wait for the one before sending the other.
    drv::send_text(window_, L"汉字");
    wait_for_edit_text(L"汉字");
    drv::post_chars(edit, L"xy");
    wait_for_edit_text(L"汉字xy");
}

TEST_F(DriverTest, MouseClickPressesTheButton) {
    start();
    drv::bring_to_foreground(window_);
    const POINT point = drv::centre(drv::info(child(kButtonId)).rect);
    drv::click_at(point);
    const drv::MessageBoxInfo box =
        drv::wait_for_message_box_text(process_.pid(), kBoxText, drv::kDefaultTimeout);
    // The fixture shows where the button saw the click, in its client coordinates.
    const std::wstring last_input = drv::window_text(child(kLastInputId));
    EXPECT_NE(last_input.find(L": up 50,15 on 101"), std::wstring::npos) << drv::utf8(last_input);
    drv::answer(box.hwnd, IDOK);
    wait_for_title(L"ok");
}

TEST_F(DriverTest, ScreenshotSeesTheMarkAndSavesABitmap) {
    start();
    drv::bring_to_foreground(window_);
    POINT mark = kMarkCentre;
    ClientToScreen(window_, &mark);
    drv::Screenshot shot;
    drv::wait_until(
        [&] {
            shot = drv::screenshot(window_);
            return shot.screen_pixel(mark) == kMarkColour;
        },
        drv::kDefaultTimeout, "the mark painted " + drv::describe_colour(kMarkColour),
        [&] { return drv::describe_colour(shot.screen_pixel(mark)); });

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"driver_test_shot.bmp";
    shot.save_bmp(path);
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    file.close();
    DeleteFileW(path.c_str());

    const std::size_t stride = (static_cast<std::size_t>(shot.width()) * 3 + 3) / 4 * 4;
    constexpr std::size_t kHeaderSize = 54;
    ASSERT_EQ(bytes.size(), kHeaderSize + stride * shot.height());
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    const int x = mark.x - shot.origin().x;
    const int row = shot.height() - 1 - (mark.y - shot.origin().y);
    const unsigned char* pixel = bytes.data() + kHeaderSize + stride * row + 3 * x;
    EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), kMarkColour);
}

}  // namespace
