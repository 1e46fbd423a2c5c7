// The start button and the two rest-mode check boxes, worked as a user would.
#include <gtest/gtest.h>

#include "tests/e2e/program.h"

namespace e2e {
namespace {

constexpr wchar_t kTooShort[] = L"至少10分钟休息一次哦";
constexpr wchar_t kOnlyOne[] = L"只能选择一个休息方式哦";

// A refusal box: title 提示, no owner, no icon, OK only, the program disabled.
void expect_refusal_box(const Program& program, const drv::MessageBoxInfo& box) {
    EXPECT_EQ(box.title, L"提示");
    EXPECT_EQ(box.owner, nullptr) << box.describe();
    EXPECT_FALSE(box.has_icon) << box.describe();
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << box.describe();
    EXPECT_FALSE(IsWindowEnabled(program.main())) << "the main window takes input while the box is up";
}

void expect_not_started(const Program& program) {
    EXPECT_TRUE(IsWindowVisible(program.start_button()));
    EXPECT_TRUE(IsWindowEnabled(program.start_button()));
    EXPECT_TRUE(IsWindowEnabled(program.edit()));
    EXPECT_TRUE(IsWindowEnabled(program.picture_box()));
    EXPECT_TRUE(IsWindowEnabled(program.sleep_box()));
}

TEST(Controls, StartWithThirtyLocksTheControlsWithoutAMessage) {
    Program program;
    program.start();
    EXPECT_FALSE(IsWindowEnabled(program.edit()));
    EXPECT_FALSE(IsWindowEnabled(program.picture_box()));
    EXPECT_FALSE(IsWindowEnabled(program.sleep_box()));
    EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << "a box after an accepted start";
    EXPECT_EQ(program.interval_text(), L"30");
}

TEST(Controls, IntervalsBelowTenAreRefusedAndNothingChanges) {
    Program program;
    const wchar_t* refused[] = {L"9", L"", L"-30", L"abc", L"5-3", L"--5", L"1 0", L"-", L"0x20"};
    for (const wchar_t* text : refused) {
        SCOPED_TRACE(drv::utf8(text));
        program.set_interval_text(text);
        drv::click_button(program.start_button());
        const auto box = program.wait_box(kTooShort);
        expect_refusal_box(program, box);
        program.answer(box, IDOK);
        expect_not_started(program);
        EXPECT_EQ(program.interval_text(), text) << "the refused text was changed";
    }
    // Corrected, the same press starts the reminders.
    program.set_interval_text(L"10");
    program.start();
}

TEST(Controls, PastedTextsThatReadAsThirtyAreAccepted) {
    const wchar_t* accepted[] = {L"30.5", L"+30", L"３０", L"\u300030", L" 30", L"30abc"};
    for (const wchar_t* text : accepted) {
        SCOPED_TRACE(drv::utf8(text));
        Program program;
        program.set_interval_text(text);
        program.start();
        EXPECT_TRUE(drv::message_boxes(program.pid()).empty());
        EXPECT_EQ(program.interval_text(), text);
    }
}

TEST(Controls, ASecondRestModeIsRefusedAndUndoneBothWays) {
    Program program;
    struct Way {
        HWND first, second;
    };
    for (const Way way : {Way{program.picture_box(), program.sleep_box()}, Way{program.sleep_box(), program.picture_box()}}) {
        SCOPED_TRACE(drv::utf8(drv::window_text(way.first)) + " first");
        program.tick_check_box(way.first);
        EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << "a box for the only ticked mode";

        drv::click_button(way.second);
        const auto box = program.wait_box(kOnlyOne);
        expect_refusal_box(program, box);
        EXPECT_TRUE(program.ticked(way.first));
        EXPECT_TRUE(program.ticked(way.second)) << "both boxes show ticked while the message is up";
        program.answer(box, IDOK);
        drv::wait_until([&] { return !program.ticked(way.second); }, drv::kDefaultTimeout,
                        "the second box unticked after the message");
        EXPECT_TRUE(program.ticked(way.first));
        EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << "the message came back";

        // Unticking the ticked box: plain mode, no message.
        drv::click_button(way.first);
        drv::wait_until([&] { return !program.ticked(way.first); }, drv::kDefaultTimeout, "the first box unticked");
        EXPECT_TRUE(drv::message_boxes(program.pid()).empty());
    }
}

TEST(Controls, AfterStartTheHiddenButtonAndDisabledBoxesTakeNoInput) {
    Program program;
    program.start();
    POINT button{155, 116}, picture{200, 165}, sleep{40, 165};
    for (POINT* p : {&button, &picture, &sleep}) ClientToScreen(program.main(), p);
    drv::bring_to_foreground(program.main());
    drv::click_at(button);
    drv::click_at(picture);
    drv::click_at(sleep);
    drv::send_keys(program.main(), {drv::kSpace, drv::kTab, drv::kSpace, drv::kEnter});
    // A tick afterwards is handled after the input: its reminder shows the input is done.
    program.tick();
    const auto box = program.wait_box(L"30分钟到了，休息一下吧！");
    EXPECT_FALSE(program.ticked(program.picture_box()));
    EXPECT_FALSE(program.ticked(program.sleep_box()));
    EXPECT_FALSE(IsWindowVisible(program.start_button()));
    EXPECT_EQ(drv::message_boxes(program.pid()).size(), 1u) << "another box than the reminder";
    program.answer(box, IDOK);
}

TEST(Controls, AHugePastedTextNeitherCrashesNorHangs) {
    Program program;
    std::wstring huge;
    for (int i = 0; huge.size() < 3'000'000; ++i) huge += (i % 7 == 0) ? L"abc" : L"1234567890";
    huge.insert(0, L"45");
    program.paste_interval_text(huge);
    drv::click_button(program.start_button());
    // Read as 45 minutes: the digit run ends at the first letter.
    drv::wait_until([&] { return !IsWindowVisible(program.start_button()); }, drv::Timeout{30'000},
                    "the start to be accepted");
    ASSERT_TRUE(program.process().running());
    EXPECT_EQ(program.close_and_wait(), 0u);
}

}  // namespace
}  // namespace e2e
