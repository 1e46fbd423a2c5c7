// The start button and the two rest-mode check boxes against an in-memory main window.
#include "main_window/handlers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake_gui.h"
#include "main_window/control_names.h"
#include "main_window/gui.h"

namespace br {
namespace {

using fake::FakeGui;
using fake::readable;
using fake::SameOperations;

std::string shown(const std::optional<std::string>& text) {
    return text ? "\"" + readable(*text) + "\"" : "no text";
}

// What an accepted start does, in order: two reads of the interval, the
// period, then the start button hidden and the three controls disabled.
std::vector<std::string> accepted_start(std::int64_t period) {
    return {"read_text edit",      "read_text edit", "write_period timer " + std::to_string(period),
            "hide button",         "disable edit",   "disable picture",
            "disable sleep"};
}

TEST(StartButton, AcceptsTheInitialThirtyWithoutAMessage) {
    FakeGui gui;
    start_clicked(gui);
    EXPECT_TRUE(SameOperations(gui.operations, accepted_start(1800000)));
    EXPECT_EQ(gui.timer_period, 1800000);
    EXPECT_EQ(gui.edit_text, "30") << "the text is left as it was";
}

TEST(StartButton, AcceptsIntervalsOfTenMinutesOrMore) {
    struct Case {
        const char* text;
        std::int64_t period;
    };
    const Case cases[] = {
        {"10", 600000},
        {" 45", 2700000},
        {"+30", 1800000},
        {"３０", 1800000},
        {"30.5", 1800000},
        // The largest N with N x 60000 below 2^31.
        {"35791", 2147460000},
        // Saturates at 2147483647 minutes; the period is still exact in 64 bits.
        {"4294967306", 128849018820000},
    };
    for (const Case& c : cases) {
        FakeGui gui;
        gui.edit_text = c.text;
        start_clicked(gui);
        EXPECT_TRUE(SameOperations(gui.operations, accepted_start(c.period))) << "for the text " << shown(c.text);
        EXPECT_EQ(gui.timer_period, c.period) << "for the text " << shown(c.text);
    }
}

TEST(StartButton, RefusesIntervalsBelowTenAndChangesNothing) {
    const std::optional<std::string> texts[] = {
        "9", std::nullopt, "", "0", "-30", "abc", "5-3", "--5", "1 0", "-", "-2147483648",
    };
    for (const std::optional<std::string>& text : texts) {
        FakeGui gui;
        gui.edit_text = text;
        start_clicked(gui);
        EXPECT_TRUE(SameOperations(gui.operations,
                                   {"read_text edit", "box[Ok 提示 owner=none] 至少10分钟休息一次哦"}))
            << "for the text " << shown(text);
        EXPECT_EQ(gui.timer_period, 0) << "for the text " << shown(text);
        EXPECT_TRUE(gui.hidden.empty() && gui.disabled.empty())
            << "for the text " << shown(text) << ": " << gui.hidden.size() << " hidden and "
            << gui.disabled.size() << " disabled controls, expected none";
    }
}

struct CheckBox {
    const char* name;
    void (*handler)(Gui&);
    const char* own;
    const char* other;
    const char* other_tag;
};

const CheckBox kCheckBoxes[] = {
    {"picture clicked", picture_clicked, names::图片, names::睡眠, "sleep"},
    {"sleep clicked", sleep_clicked, names::睡眠, names::图片, "picture"},
};

TEST(RestModeCheckBoxes, RefuseASecondModeAndUntickTheClickedBoxAfterTheMessage) {
    for (const CheckBox& box : kCheckBoxes) {
        SCOPED_TRACE(box.name);
        FakeGui gui;
        // The click has already ticked this box.
        gui.ticks[box.own] = 1;
        gui.ticks[box.other] = 1;
        int own_while_open = -1;
        int other_while_open = -1;
        gui.while_box_open(0, [&] {
            own_while_open = gui.tick(box.own);
            other_while_open = gui.tick(box.other);
        });

        box.handler(gui);

        EXPECT_TRUE(SameOperations(gui.operations, {"read_tick " + std::string(box.other_tag),
                                                    "box[Ok 提示 owner=none] 只能选择一个休息方式哦",
                                                    "write_tick " + fake::control_tag(box.own) + " 0"}));
        EXPECT_EQ(own_while_open, 1) << "both boxes show ticked while the message is open";
        EXPECT_EQ(other_while_open, 1) << "both boxes show ticked while the message is open";
        EXPECT_EQ(gui.tick(box.own), 0) << "the clicked box is unticked again";
        EXPECT_EQ(gui.tick(box.other), 1) << "the other box keeps its tick";
    }
}

// The handler reads only the other box, never its own, and writes nothing.
TEST(RestModeCheckBoxes, LetTheClickStandWhenTheOtherBoxIsUnticked) {
    for (const CheckBox& box : kCheckBoxes) {
        for (const int own : {1, 0}) {
            SCOPED_TRACE(std::string(box.name) + (own ? ", now ticked" : ", now unticked"));
            FakeGui gui;
            gui.ticks[box.own] = own;

            box.handler(gui);

            EXPECT_TRUE(SameOperations(gui.operations, {"read_tick " + std::string(box.other_tag)}));
            EXPECT_EQ(gui.tick(box.own), own);
            EXPECT_EQ(gui.tick(box.other), 0);
        }
    }
}

}  // namespace
}  // namespace br
