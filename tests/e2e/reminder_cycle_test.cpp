// The reminders as the user meets them: a tick of 时钟1 is delivered by posting
// WM_TIMER to its window, as the system timer does when the interval is up.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string_view>

#include "tests/e2e/program.h"

namespace e2e {
namespace {

constexpr wchar_t kPlain[] = L"30分钟到了，休息一下吧！";
constexpr wchar_t kDeclined[] = L"下次一定要休息一下哦";
constexpr wchar_t kSleepQuestion[] = L"30分钟到了，站起来活动一下吧！";
constexpr wchar_t kSleepDeclined[] = L"那么再过30分钟再休息吧！";

bool topmost(const Program& program) { return drv::info(program.main()).topmost; }

void wait_not_topmost(const Program& program) {
    drv::wait_until([&] { return !topmost(program); }, drv::kDefaultTimeout, "the main window to leave the top");
}

// A reminder box: title 提醒, owned by the main window, no icon, the buttons asked for.
void expect_reminder(const Program& program, const drv::MessageBoxInfo& box, std::vector<int> buttons) {
    EXPECT_EQ(box.title, L"提醒") << box.describe();
    EXPECT_EQ(box.owner, program.main()) << box.describe();
    EXPECT_FALSE(box.has_icon) << box.describe();
    EXPECT_EQ(box.buttons, buttons) << box.describe();
    EXPECT_TRUE(topmost(program)) << "the main window is not on top while the reminder is up";
}

std::wstring temp_path(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string file_text(const std::wstring& path) {
    std::ifstream file(drv::utf8(path).c_str());  // Wine's C runtime takes the Windows path
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

constexpr char kStubCall[] = "SetSuspendState (1, 1, 1)";

TEST(ReminderCycle, PlainMessageWithTheMainWindowOnTopWhileItIsUp) {
    Program program;
    program.start();
    EXPECT_FALSE(topmost(program));
    program.tick();
    const auto box = program.wait_box(kPlain);
    expect_reminder(program, box, {IDOK});
    program.answer(box, IDOK);
    wait_not_topmost(program);
    // The next interval runs: another tick, another reminder.
    program.tick();
    program.answer(program.wait_box(kPlain), IDOK);
}

TEST(ReminderCycle, TheIntervalTextIsShownExactlyAsTyped) {
    Program program;
    program.set_interval_text(L" 45");
    program.start();
    program.tick();
    const auto box = program.wait_box(L" 45分钟到了，休息一下吧！");
    program.answer(box, IDOK);
}

// Starts in a rest mode and declines the first reminder: the question with
// OK and Cancel, Cancel, then the reply with OK only; both are reminders shown
// while the main window is on top, which it leaves afterwards.
void decline_first_reminder(const Program& program, HWND rest_mode, std::wstring_view question_text,
                            std::wstring_view reply_text) {
    program.start_in_mode(rest_mode);
    program.tick();
    const auto question = program.wait_box(question_text);
    expect_reminder(program, question, {IDOK, IDCANCEL});
    program.answer(question, IDCANCEL);
    const auto reply = program.wait_box(reply_text);
    expect_reminder(program, reply, {IDOK});
    program.answer(reply, IDOK);
    wait_not_topmost(program);
}

TEST(ReminderCycle, PictureQuestionCancelledGetsAReplyWhileStillOnTop) {
    Program program;
    decline_first_reminder(program, program.picture_box(), kPictureQuestion, kDeclined);
    EXPECT_EQ(program.picture_window(), nullptr) << "a picture window after Cancel";
}

TEST(ReminderCycle, PictureQuestionAnsweredOkOpensThePictureWindow) {
    Program program;
    program.start_in_mode(program.picture_box());
    program.tick();
    program.answer(program.wait_box(kPictureQuestion), IDOK);
    HWND picture = program.wait_picture_window("the picture window");
    EXPECT_FALSE(topmost(program)) << "the main window was still on top when the picture opened";
    EXPECT_FALSE(IsWindowEnabled(program.main()));
    drv::send_keys(picture, {drv::kEsc});
    drv::wait_gone(picture, drv::kDefaultTimeout, "Esc to close the picture window");
    drv::wait_until([&] { return IsWindowEnabled(program.main()); }, drv::kDefaultTimeout,
                    "the main window enabled again");
}

TEST(ReminderCycle, NestedPictureQuestionsStackAndUnwindInnermostFirst) {
    Program program;
    program.start_in_mode(program.picture_box());
    program.tick();
    const auto outer = program.wait_box(kPictureQuestion);
    program.tick();  // the next interval falls due while the question is open
    const auto inner = drv::wait_for_message_box(program.pid(), drv::kDefaultTimeout, "a second question",
                                                 [&](const drv::MessageBoxInfo& box) {
                                                     return box.hwnd != outer.hwnd && box.text == kPictureQuestion;
                                                 });
    expect_reminder(program, inner, {IDOK, IDCANCEL});
    program.answer(inner, IDCANCEL);
    program.answer(program.wait_box(kDeclined), IDOK);
    EXPECT_TRUE(IsWindow(outer.hwnd)) << "the outer question closed with the inner one";
    program.answer(outer, IDCANCEL);
    program.answer(program.wait_box(kDeclined), IDOK);
    wait_not_topmost(program);
}

TEST(ReminderCycle, SleepQuestionCancelledNamesTheInterval) {
    Program program;
    decline_first_reminder(program, program.sleep_box(), kSleepQuestion, kSleepDeclined);
}

// Wine's SetSuspendState hibernates nothing and reports its arguments on the
// debug output, which reaches the test as the file BR_DEBUG_OUTPUT names.
std::string debug_output() { return file_text(drv::windows_path(drv::environment(L"BR_DEBUG_OUTPUT"))); }

void wait_for_stub_calls(std::size_t calls) {
    drv::wait_until([&] { return count(debug_output(), kStubCall) == calls; }, drv::kDefaultTimeout,
                    "SetSuspendState called with (1, 1, 1) " + std::to_string(calls) + " time(s)",
                    [] { return debug_output(); });
}

TEST(PowerStub, SleepQuestionAnsweredOkAsksTheSystemToHibernateAndGoesOn) {
    Program program;
    program.start_in_mode(program.sleep_box());
    for (std::size_t call = 1; call <= 2; ++call) {
        program.tick();
        program.answer(program.wait_box(kSleepQuestion), IDOK);
        wait_for_stub_calls(call);
        wait_not_topmost(program);
        EXPECT_TRUE(program.process().running());
    }
    EXPECT_EQ(program.close_and_wait(), 0u);
}

// Run with the power library switched off.
TEST(PowerDisabled, SleepOkEndsInTheFatalErrorReport) {
    Program program;
    program.start_in_mode(program.sleep_box());
    program.tick();
    program.answer(program.wait_box(kSleepQuestion), IDOK);
    const auto error = drv::wait_for_message_box(program.pid(), drv::kDefaultTimeout, "the fatal error box",
                                                 [](const drv::MessageBoxInfo& box) {
                                                     return box.text.find(L"SetSuspendState") != std::wstring::npos;
                                                 });
    EXPECT_NE(error.text.find(L"Powrprof.dll"), std::wstring::npos) << drv::utf8(error.text);
    EXPECT_EQ(error.owner, nullptr) << error.describe();
    EXPECT_TRUE(error.has_icon) << error.describe();
    EXPECT_EQ(error.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(topmost(program)) << "the main window was left on top";
    EXPECT_TRUE(IsWindowEnabled(program.main())) << "the error box disabled the main window";
    // No handler runs any more: a tick, then a minimise that is handled after it.
    program.tick();
    drv::post(program.main(), WM_SYSCOMMAND, SC_MINIMIZE);
    drv::wait_until([&] { return IsIconic(program.main()); }, drv::kDefaultTimeout,
                    "the main window minimised after the tick");
    EXPECT_EQ(drv::message_boxes(program.pid()).size(), 1u) << "a reminder ran after the fatal error";
    drv::answer(error.hwnd, IDOK);
    EXPECT_EQ(program.process().wait_exit(drv::kDefaultTimeout).value_or(0), 0xFFFFFFFFu);
}

// A Powrprof.dll beside the program, which Wine is told to prefer as Windows
// would, is not loaded: the system's own library answers.
TEST(PowerPlanted, ALibraryBesideTheProgramIsNotLoaded) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring planted(self);
    planted = planted.substr(0, planted.find_last_of(L'\\')) + L"\\Powrprof.dll";
    const std::wstring folder = temp_path(L"br-planted");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring exe = folder + L"\\break-reminder.exe";
    ASSERT_TRUE(CopyFileW(drv::windows_path(program_path()).c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(planted.c_str(), (folder + L"\\Powrprof.dll").c_str(), FALSE)) << drv::utf8(planted);
    Program program(drv::Process::start(exe, {}, folder));
    program.start_in_mode(program.sleep_box());
    program.tick();
    program.answer(program.wait_box(kSleepQuestion), IDOK);
    wait_for_stub_calls(1);
    EXPECT_TRUE(program.process().running());
    EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << "a box after the hibernate call";
    EXPECT_EQ(program.close_and_wait(), 0u);
}

}  // namespace
}  // namespace e2e
