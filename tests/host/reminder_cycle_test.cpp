// The reminder cycle, the hibernate call and text joining against an in-memory
// main window. Each test starts from the state after an accepted start: the
// timer running with the period of the interval text.
#include "main_window/reminder_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake_gui.h"
#include "main_window/control_names.h"
#include "main_window/gui.h"
#include "main_window/join_texts.h"

namespace br {
namespace {

using fake::FakeGui;
using fake::FakePower;
using fake::FatalError;
using fake::readable;
using fake::SameOperations;

// The state an accepted start leaves: the rest mode ticked, the timer running.
void started(FakeGui& gui, int picture, int sleep, std::int64_t period = 1800000) {
    gui.ticks[names::图片] = picture;
    gui.ticks[names::睡眠] = sleep;
    gui.timer_period = period;
}

// The operations from the first line equal to `line` on.
std::vector<std::string> from(const std::vector<std::string>& operations, std::string_view line) {
    return {std::find(operations.begin(), operations.end(), line), operations.end()};
}

struct CycleCase {
    const char* name;
    int picture;
    int sleep;
    std::vector<BoxResult> answers;  // to the question, if there is one
    std::vector<std::string> operations;
    std::vector<std::int64_t> period_while_boxes_open;
};

TEST(ReminderCycle, RunsTheBranchOfTheRestModeInOrder) {
    const CycleCase cases[] = {
        {"plain", 0, 0, {},
         {"read_tick picture", "read_tick picture", "read_tick sleep",
          "write_period timer 0",
          "top on",
          "read_text edit", "main_window_handle", "box[Ok 提醒 owner=main] 30分钟到了，休息一下吧！",
          "top off",
          "read_text edit", "write_period timer 1800000",
          "read_tick sleep"},
         {0}},
        {"picture, OK", 1, 0, {BoxResult::Ok},
         {"read_tick picture",
          "top on",
          "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
          "top off",
          "open_picture_window", "picture_window_closed",
          "read_tick picture", "read_tick sleep"},
         {1800000}},
        {"picture, Cancel", 1, 0, {BoxResult::Cancel},
         {"read_tick picture",
          "top on",
          "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
          "main_window_handle", "box[Ok 提醒 owner=main] 下次一定要休息一下哦",
          "top off",
          "read_tick picture", "read_tick sleep"},
         {1800000, 1800000}},
        {"sleep, Cancel", 0, 1, {BoxResult::Cancel},
         {"read_tick picture", "read_tick picture", "read_tick sleep", "read_tick sleep",
          "write_period timer 0",
          "top on",
          "read_text edit", "main_window_handle",
          "box[OkCancel 提醒 owner=main] 30分钟到了，站起来活动一下吧！",
          "read_text edit", "main_window_handle", "box[Ok 提醒 owner=main] 那么再过30分钟再休息吧！",
          "read_text edit", "write_period timer 1800000",
          "top off"},
         {0, 0}},
        {"sleep, OK", 0, 1, {BoxResult::Ok},
         {"read_tick picture", "read_tick picture", "read_tick sleep", "read_tick sleep",
          "write_period timer 0",
          "top on",
          "read_text edit", "main_window_handle",
          "box[OkCancel 提醒 owner=main] 30分钟到了，站起来活动一下吧！",
          "read_text edit", "write_period timer 1800000",
          "top off",
          "hibernate", "load_system_library Powrprof.dll", "find_function Powrprof.dll SetSuspendState",
          "set_suspend_state SetSuspendState 1 1 1"},
         {0}},
    };
    for (const CycleCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeGui gui;
        started(gui, c.picture, c.sleep);
        for (const BoxResult answer : c.answers) gui.answer_questions({answer});

        reminder_cycle(gui);

        EXPECT_TRUE(SameOperations(gui.operations, c.operations));
        EXPECT_EQ(gui.timer_period_at_boxes, c.period_while_boxes_open)
            << "the timer period while each box was open";
        EXPECT_EQ(gui.timer_period, 1800000) << "the timer runs with the interval's period afterwards";
        EXPECT_FALSE(gui.always_on_top);
    }
}

// The interval text goes into the messages exactly as typed; the re-arm uses
// the interval it reads as.
TEST(ReminderCycle, InsertsTheIntervalTextAsTyped) {
    struct Case {
        std::optional<std::string> text;
        const char* plain;
        const char* sleep_question;
        const char* sleep_reply;
        std::int64_t period;
    };
    const Case cases[] = {
        {"30", "30分钟到了，休息一下吧！", "30分钟到了，站起来活动一下吧！", "那么再过30分钟再休息吧！", 1800000},
        {" 45", " 45分钟到了，休息一下吧！", " 45分钟到了，站起来活动一下吧！", "那么再过 45分钟再休息吧！",
         2700000},
        {"３０", "３０分钟到了，休息一下吧！", "３０分钟到了，站起来活动一下吧！", "那么再过３０分钟再休息吧！",
         1800000},
        // Cannot happen after an accepted start, but the empty box reads as no text.
        {std::nullopt, "分钟到了，休息一下吧！", "分钟到了，站起来活动一下吧！", "那么再过分钟再休息吧！", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("for the text " + (c.text ? "\"" + readable(*c.text) + "\"" : std::string("no text")));
        const std::string rearm = "write_period timer " + std::to_string(c.period);

        FakeGui plain;
        started(plain, 0, 0, c.period);
        plain.edit_text = c.text;
        reminder_cycle(plain);
        EXPECT_TRUE(SameOperations(from(plain.operations, "main_window_handle"),
                                   {"main_window_handle", "box[Ok 提醒 owner=main] " + std::string(c.plain),
                                    "top off", "read_text edit", rearm, "read_tick sleep"}));

        FakeGui sleep;
        started(sleep, 0, 1, c.period);
        sleep.edit_text = c.text;
        sleep.answer_questions({BoxResult::Cancel});
        reminder_cycle(sleep);
        EXPECT_TRUE(SameOperations(
            from(sleep.operations, "main_window_handle"),
            {"main_window_handle", "box[OkCancel 提醒 owner=main] " + std::string(c.sleep_question),
             "read_text edit", "main_window_handle", "box[Ok 提醒 owner=main] " + std::string(c.sleep_reply),
             "read_text edit", rearm, "top off"}));
    }
}

// Each of the three tests reads the tick states afresh: a change made while
// the picture window is open decides the plain and sleep tests after it.
TEST(ReminderCycle, MakesEachTestOnTheTickStatesAsTheyAreThen) {
    FakeGui gui;
    started(gui, 1, 0);
    gui.answer_questions({BoxResult::Ok, BoxResult::Cancel});
    gui.while_picture_window_open(0, [&] {
        gui.ticks[names::图片] = 0;
        gui.ticks[names::睡眠] = 1;
    });

    reminder_cycle(gui);

    EXPECT_TRUE(SameOperations(from(gui.operations, "picture_window_closed"),
                               {"picture_window_closed", "read_tick picture", "read_tick sleep",
                                "read_tick sleep", "write_period timer 0", "top on", "read_text edit",
                                "main_window_handle",
                                "box[OkCancel 提醒 owner=main] 30分钟到了，站起来活动一下吧！",
                                "read_text edit", "main_window_handle",
                                "box[Ok 提醒 owner=main] 那么再过30分钟再休息吧！", "read_text edit",
                                "write_period timer 1800000", "top off"}));
}

// In picture mode the timer keeps running, so a tick delivered inside the
// question or the picture window runs a further cycle there.
TEST(PictureModeNesting, ATickDuringTheQuestionStacksASecondQuestionAnsweredFirst) {
    FakeGui gui;
    started(gui, 1, 0);
    gui.while_box_open(0, [&] { reminder_cycle(gui); });
    gui.answer_questions({BoxResult::Cancel, BoxResult::Ok});  // inner first, then outer

    reminder_cycle(gui);

    EXPECT_TRUE(SameOperations(gui.operations,
                               {"read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                // the nested cycle, answered Cancel
                                "read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                "main_window_handle", "box[Ok 提醒 owner=main] 下次一定要休息一下哦",
                                "top off",
                                "read_tick picture", "read_tick sleep",
                                // the outer question, answered OK
                                "top off",
                                "open_picture_window", "picture_window_closed",
                                "read_tick picture", "read_tick sleep"}));
    EXPECT_EQ(gui.timer_period, 1800000) << "picture mode never writes the timer";
}

TEST(PictureModeNesting, OkInsideAnOpenPictureWindowOpensNoSecondOne) {
    FakeGui gui;
    started(gui, 1, 0);
    gui.answer_questions({BoxResult::Ok, BoxResult::Ok});
    gui.while_picture_window_open(0, [&] { reminder_cycle(gui); });

    reminder_cycle(gui);

    EXPECT_TRUE(SameOperations(gui.operations,
                               {"read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                "top off",
                                "open_picture_window",
                                // the nested cycle returns at once
                                "read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                "top off",
                                "open_picture_window: already open, brought forward",
                                "read_tick picture", "read_tick sleep",
                                "picture_window_closed",
                                "read_tick picture", "read_tick sleep"}));
    EXPECT_EQ(gui.picture_windows_opened, 1);
}

TEST(PictureModeNesting, OkInsideAnOpenQuestionOpensThePictureThereAndAgainAfterTheOuterOk) {
    FakeGui gui;
    started(gui, 1, 0);
    gui.while_box_open(0, [&] { reminder_cycle(gui); });
    gui.answer_questions({BoxResult::Ok, BoxResult::Ok});

    reminder_cycle(gui);

    EXPECT_TRUE(SameOperations(gui.operations,
                               {"read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                // the nested cycle, inside the outer question
                                "read_tick picture",
                                "top on",
                                "main_window_handle", "box[OkCancel 提醒 owner=main] 活动活动颈椎吧!",
                                "top off",
                                "open_picture_window", "picture_window_closed",
                                "read_tick picture", "read_tick sleep",
                                // the outer OK
                                "top off",
                                "open_picture_window", "picture_window_closed",
                                "read_tick picture", "read_tick sleep"}));
    EXPECT_EQ(gui.picture_windows_opened, 2);
}

TEST(HibernateCall, IsBoundAtTheFirstSleepOkAndReusedAfterwards) {
    FakeGui gui;
    started(gui, 0, 1);
    gui.answer_questions({BoxResult::Ok, BoxResult::Ok});

    reminder_cycle(gui);
    EXPECT_TRUE(SameOperations(from(gui.operations, "hibernate"),
                               {"hibernate", "load_system_library Powrprof.dll",
                                "find_function Powrprof.dll SetSuspendState",
                                "set_suspend_state SetSuspendState 1 1 1"}));

    gui.operations.clear();
    reminder_cycle(gui);
    EXPECT_TRUE(SameOperations(from(gui.operations, "hibernate"),
                               {"hibernate", "set_suspend_state SetSuspendState 1 1 1"}));
    EXPECT_EQ(gui.power.loaded(), 1);
}

TEST(HibernateCall, ThatCannotBeBoundIsFatalAfterTheReArmAndTopOff) {
    struct Case {
        const char* name;
        bool library_present;
        std::vector<std::string> after_load;
        std::uint32_t code;
    };
    const Case cases[] = {
        {"library missing", false, {"fatal_error code=126"}, FakePower::kModuleNotFound},
        {"function missing", true,
         {"find_function Powrprof.dll SetSuspendState", "free_library Powrprof.dll", "fatal_error code=127"},
         FakePower::kProcedureNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeGui gui;
        started(gui, 0, 1);
        gui.power.library_present = c.library_present;
        gui.power.function_present = false;
        gui.answer_questions({BoxResult::Ok});

        try {
            reminder_cycle(gui);
            ADD_FAILURE() << "expected a fatal error, saw the cycle return";
        } catch (const FatalError& error) {
            EXPECT_NE(error.message.find("Powrprof.dll"), std::string::npos)
                << "expected the library named in: " << error.what();
            EXPECT_NE(error.message.find("SetSuspendState"), std::string::npos)
                << "expected the function named in: " << error.what();
            EXPECT_EQ(error.code, c.code);
        }

        const std::string question = "box[OkCancel 提醒 owner=main] 30分钟到了，站起来活动一下吧！";
        std::vector<std::string> expected = {question, "read_text edit", "write_period timer 1800000",
                                             "top off", "hibernate", "load_system_library Powrprof.dll"};
        expected.insert(expected.end(), c.after_load.begin(), c.after_load.end());
        EXPECT_TRUE(SameOperations(from(gui.operations, question), expected));
        EXPECT_EQ(gui.power.loaded(), 0) << "no library may stay loaded";
    }
}

TEST(HibernateCall, ReleaseFreesABoundLibraryOnce) {
    FakeGui unbound;
    unbound.hibernate_call.release();
    EXPECT_TRUE(SameOperations(unbound.operations, {})) << "nothing is bound, so nothing is freed";

    FakeGui gui;
    gui.hibernate();
    gui.operations.clear();
    gui.hibernate_call.release();
    gui.hibernate_call.release();
    EXPECT_TRUE(SameOperations(gui.operations, {"free_library Powrprof.dll"}));
    EXPECT_EQ(gui.power.loaded(), 0);
}

// Allocators for join_texts, which takes a plain function: the bytes asked for
// are kept here.
std::size_t bytes_asked = 0;

TextBuffer recording_allocate(std::size_t bytes) {
    bytes_asked = bytes;
    return TextBuffer(new char[bytes]);
}

TextBuffer failing_allocate(std::size_t bytes) {
    bytes_asked = bytes;
    return nullptr;
}

TEST(JoinTexts, JoinsThePartsByteForByteWithATerminatingZero) {
    struct Case {
        std::optional<std::string_view> first, second, third;
        std::string_view joined;
    };
    const Case cases[] = {
        {"那么再过", "30", "分钟再休息吧！", "那么再过30分钟再休息吧！"},
        {" 45", "", "分钟到了，休息一下吧！", " 45分钟到了，休息一下吧！"},
        {std::nullopt, "分钟到了，休息一下吧！", std::nullopt, "分钟到了，休息一下吧！"},
        {"", std::nullopt, "", ""},
    };
    for (const Case& c : cases) {
        FakeGui gui;
        bytes_asked = 0;
        const TextBuffer joined = join_texts(gui, {c.first, c.second, c.third}, recording_allocate);
        const std::string expected = std::string(c.joined) + '\0';
        ASSERT_EQ(bytes_asked, expected.size()) << "bytes asked for \"" << readable(c.joined) << "\"";
        EXPECT_EQ(std::memcmp(joined.get(), expected.data(), expected.size()), 0)
            << "expected \"" << readable(c.joined) << "\" and a zero, saw \""
            << readable(std::string_view(joined.get(), expected.size())) << "\"";
    }
}

TEST(JoinTexts, RunningOutOfMemoryIsFatalAndNamesTheBytesAskedFor) {
    FakeGui gui;
    const std::size_t bytes = std::strlen("那么再过") + std::strlen("30") + std::strlen("分钟再休息吧！") + 1;
    try {
        join_texts(gui, {"那么再过", "30", "分钟再休息吧！"}, failing_allocate);
        ADD_FAILURE() << "expected a fatal error, saw the join return";
    } catch (const FatalError& error) {
        EXPECT_EQ(bytes_asked, bytes);
        // GBK never uses ASCII digits inside a double-byte character, so the
        // digits of the message are the count alone.
        std::string digits;
        for (const char ch : error.message) {
            if (ch >= '0' && ch <= '9') digits += ch;
        }
        EXPECT_EQ(digits, std::to_string(bytes)) << "in the message " << error.what();
    }
}

}  // namespace
}  // namespace br
