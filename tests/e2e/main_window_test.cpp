// The main window as the user meets it: place, look, focus, keyboard, closing.
#include <gtest/gtest.h>

#include <map>

#include "tests/e2e/program.h"

namespace e2e {
namespace {

using drv::info;

struct ControlPlace {
    const wchar_t* text;
    const wchar_t* class_name;
    RECT rect;  // left, top, right, bottom in the main window's client area
};

const ControlPlace kControls[] = {
    {L"开始", L"Button", {111, 96, 199, 136}},
    {L"开始按钮按下开始计时，无停止按钮", kLabelClass, {31, 6, 279, 38}},
    {L"是否播放活动颈椎图片", L"Button", {109, 150, 295, 182}},
    {L"是否睡眠", L"Button", {12, 149, 116, 181}},
    {L"分钟提醒一次", kLabelClass, {150, 53, 251, 77}},
    {L"30", L"Edit", {85, 54, 141, 78}},
    {L"每", kLabelClass, {61, 53, 85, 77}},
};

std::string rect_text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

// Runs at every screen size: the window is centred by truncating division.
TEST(AllScreens, MainWindowIsCentredAtItsSizeWithItsControlsInPlace) {
    Program program;
    const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    const std::map<std::pair<int, int>, POINT> known = {
        {{1920, 1080}, {802, 431}}, {{1366, 768}, {525, 275}}, {{1024, 768}, {354, 275}}, {{800, 600}, {242, 191}}};
    const auto expected = known.find({screen_w, screen_h});
    ASSERT_NE(expected, known.end()) << "screen " << screen_w << "x" << screen_h << " is not one of the tested sizes";

    const RECT outer = info(program.main()).rect;
    EXPECT_EQ(rect_text(outer), rect_text({expected->second.x, expected->second.y, expected->second.x + 316,
                                           expected->second.y + 217}))
        << "on a " << screen_w << "x" << screen_h << " screen";

    for (const auto& control : kControls) {
        HWND handle = drv::find_child(program.main(), [&](const drv::WindowInfo& w) {
            return w.text == control.text && w.class_name == control.class_name;
        });
        ASSERT_NE(handle, nullptr) << drv::utf8(control.text) << " not found among\n"
                                   << drv::describe_children(program.main());
        EXPECT_EQ(rect_text(info(handle).rect_in_parent), rect_text(control.rect)) << drv::utf8(control.text);
        EXPECT_TRUE(info(handle).visible) << drv::utf8(control.text);
    }
    EXPECT_FALSE(info(program.timer()).visible) << "时钟1 is shown";
}

TEST(MainWindow, CaptionAndStyles) {
    Program program;
    const auto window = info(program.main());
    EXPECT_EQ(window.text, L"") << "the caption shows a text";
    EXPECT_EQ(window.owner, nullptr);
    const LONG_PTR wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(window.style & wanted, wanted);
    EXPECT_EQ(window.style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0) << "resizable or maximisable";
    // The system adds WS_EX_WINDOWEDGE to every captioned window; nothing else is asked for.
    EXPECT_EQ(window.exstyle & ~WS_EX_WINDOWEDGE, 0) << std::hex << window.exstyle;
    EXPECT_FALSE(window.topmost);

    const auto edit = info(program.edit());
    const LONG_PTR edit_style = WS_TABSTOP | ES_AUTOHSCROLL | ES_RIGHT;
    EXPECT_EQ(edit.style & edit_style, edit_style);
    EXPECT_EQ(edit.style & (ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_NOHIDESEL |
                            WS_HSCROLL | WS_VSCROLL | ES_MULTILINE),
              0);
    EXPECT_TRUE(edit.exstyle & WS_EX_CLIENTEDGE);

    for (HWND box : {program.picture_box(), program.sleep_box()}) {
        const auto check = info(box);
        EXPECT_EQ(check.style & BS_TYPEMASK, BS_AUTOCHECKBOX) << drv::utf8(check.text);
        const LONG_PTR flags = BS_MULTILINE | BS_LEFT | BS_VCENTER | WS_TABSTOP;
        EXPECT_EQ(check.style & flags, flags) << drv::utf8(check.text);
        EXPECT_EQ(check.style & BS_PUSHLIKE, 0);
    }
    const auto button = info(program.start_button());
    EXPECT_EQ(button.style & BS_TYPEMASK, BS_PUSHBUTTON) << "the start button is a default button";
    const LONG_PTR flags = BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP;
    EXPECT_EQ(button.style & flags, flags);
    EXPECT_EQ(program.close_and_wait(), 0u);
}

TEST(MainWindow, StartsActiveWithTheCaretBeforeThirtyAndNothingTicked) {
    Program program;
    const auto state = drv::gui_state(program.main());
    EXPECT_EQ(state.active, program.main());
    EXPECT_EQ(state.focus, program.edit()) << "focus on " << info(state.focus).describe();
    DWORD start = 99, end = 99;
    SendMessageTimeoutW(program.edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(program.interval_text(), L"30");
    EXPECT_FALSE(program.ticked(program.picture_box()));
    EXPECT_FALSE(program.ticked(program.sleep_box()));
    EXPECT_FALSE(info(program.main()).topmost);
    EXPECT_EQ(drv::top_windows(program.pid(), true).size(), 1u) << drv::describe_windows(program.pid());
}

TEST(MainWindow, TabAndShiftTabRunThroughTheCycle) {
    Program program;
    const std::vector<HWND> forward = {program.sleep_box(), program.picture_box(), program.start_button(),
                                       program.edit()};
    for (HWND expected : forward) {
        drv::send_keys(program.main(), {drv::kTab});
        drv::wait_until([&] { return drv::gui_state(program.main()).focus == expected; }, drv::kDefaultTimeout,
                        "Tab to move the focus to " + info(expected).describe(),
                        [&] { return info(drv::gui_state(program.main()).focus).describe(); });
    }
    for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) {
        HWND expected = *it;
        drv::send_keys(program.main(), {drv::kShiftTab});
        drv::wait_until([&] { return drv::gui_state(program.main()).focus == expected; }, drv::kDefaultTimeout,
                        "Shift+Tab to move the focus to " + info(expected).describe(),
                        [&] { return info(drv::gui_state(program.main()).focus).describe(); });
    }
}

TEST(MainWindow, OnlyDigitsAndMinusCanBeTyped) {
    Program program;
    HWND edit = program.edit();
    // The caret stands before "30". Refused characters change nothing.
    struct Case {
        std::wstring typed;
        std::wstring after;
    };
    const Case cases[] = {
        {L"a", L"30"}, {L".", L"30"}, {L"３", L"30"}, {L"Z", L"30"},
        {L"-", L"-30"}, {L"7", L"-730"},
    };
    for (const auto& c : cases) {
        drv::send_text(edit, c.typed);
        // A digit typed after each character shows that it has been handled.
        drv::send_text(edit, L"9");
        drv::wait_until([&] { return program.interval_text().find(L'9') != std::wstring::npos; },
                        drv::kDefaultTimeout, "the sentinel digit to arrive");
        const std::wstring seen = program.interval_text();
        EXPECT_EQ(seen.substr(0, seen.find(L'9')) + seen.substr(seen.find(L'9') + 1), c.after)
            << "after typing " << drv::utf8(c.typed) << " the box reads " << drv::utf8(seen);
        drv::send_keys(edit, {{VK_BACK}});  // Backspace removes the sentinel again
        drv::wait_until([&] { return program.interval_text() == c.after; }, drv::kDefaultTimeout,
                        "Backspace to delete the sentinel", [&] { return drv::utf8(program.interval_text()); });
    }
}

TEST(MainWindow, PastedTextGoesInWhole) {
    Program program;
    program.paste_interval_text(L"ab.３０ x-");
    EXPECT_EQ(program.interval_text(), L"ab.３０ x-");
}

TEST(MainWindow, EscEnterAndF1DoNothingWhicheverControlHasTheFocus) {
    Program program;
    const std::vector<HWND> cycle = {program.edit(), program.sleep_box(), program.picture_box(),
                                     program.start_button()};
    for (HWND focused : cycle) {
        drv::wait_until([&] { return drv::gui_state(program.main()).focus == focused; }, drv::kDefaultTimeout,
                        "the focus on " + info(focused).describe());
        drv::send_keys(program.main(), {drv::kEsc, drv::kEnter, drv::kF1});
        // Tab afterwards proves the keys have been handled and the focus had stayed.
        drv::send_keys(program.main(), {drv::kTab});
        drv::wait_until([&] { return drv::gui_state(program.main()).focus != focused; }, drv::kDefaultTimeout,
                        "Tab after Esc, Enter, F1");
        EXPECT_TRUE(IsWindow(program.main())) << "the main window closed";
        EXPECT_TRUE(IsWindowVisible(program.start_button())) << "a key pressed the start button";
        EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << "a key opened a box";
        EXPECT_EQ(program.interval_text(), L"30");
    }
    EXPECT_FALSE(program.ticked(program.picture_box()));
    EXPECT_FALSE(program.ticked(program.sleep_box()));
}

TEST(MainWindow, AClickWhereTheCheckBoxesOverlapTicksThePictureBox) {
    Program program;
    POINT point{112, 165};
    ClientToScreen(program.main(), &point);
    drv::bring_to_foreground(program.main());
    drv::click_at(point);
    drv::wait_until([&] { return program.ticked(program.picture_box()); }, drv::kDefaultTimeout,
                    "the click in the overlap to tick 图片");
    EXPECT_FALSE(program.ticked(program.sleep_box()));
}

TEST(MainWindow, ClosingEndsTheProgramWithZero) {
    {
        Program program;
        EXPECT_EQ(program.close_and_wait(), 0u) << "WM_CLOSE";
    }
    {
        Program program;
        drv::post(program.main(), WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_EQ(program.process().wait_exit(drv::kDefaultTimeout).value_or(99), 0u) << "the close box";
    }
    {
        Program program;
        drv::send_keys(program.main(), {drv::kAltF4});
        EXPECT_EQ(program.process().wait_exit(drv::kDefaultTimeout).value_or(99), 0u) << "Alt+F4";
    }
    {
        Program program;
        program.start();
        EXPECT_EQ(program.close_and_wait(), 0u) << "with the timer running";
    }
}

TEST(MainWindow, ArgumentsAndTheCurrentFolderChangeNothing) {
    Program program({L"--help", L"/x", L"60"}, L"C:\\windows");
    EXPECT_EQ(program.interval_text(), L"30");
    EXPECT_EQ(rect_text(info(program.main()).rect), rect_text({802, 431, 1118, 648}));
    EXPECT_EQ(program.close_and_wait(), 0u);
}

TEST(MainWindow, TwoCopiesRunSideBySide) {
    Program first;
    Program second;
    EXPECT_NE(first.main(), second.main());
    second.start();
    EXPECT_TRUE(IsWindowVisible(first.start_button())) << "starting one copy started the other";
    EXPECT_EQ(second.close_and_wait(), 0u);
    EXPECT_TRUE(first.process().running());
    EXPECT_EQ(first.close_and_wait(), 0u);
}

// Run in a code page 936 session and again under code page 1252.
TEST(Texts, ReadAsChineseWhateverTheCodePage) {
    Program program;
    const std::wstring expected[] = {L"开始按钮按下开始计时，无停止按钮", L"每", L"分钟提醒一次", L"开始",
                                     L"是否播放活动颈椎图片", L"是否睡眠"};
    for (const auto& text : expected) {
        EXPECT_NE(drv::find_child_by_text(program.main(), text), nullptr)
            << "no control reads " << drv::utf8(text) << " under code page " << GetACP() << ":\n"
            << drv::describe_children(program.main());
    }
    program.set_interval_text(L"9");
    drv::click_button(program.start_button());
    const auto box = program.wait_box(L"至少10分钟休息一次哦");
    EXPECT_EQ(box.title, L"提示");
}

}  // namespace
}  // namespace e2e
