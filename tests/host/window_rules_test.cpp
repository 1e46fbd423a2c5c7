// The rules the shell applies to a window definition: the Tab cycle and the
// centred start position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/placement.h"
#include "app/tab_order.h"
#include "main_window/control_names.h"
#include "main_window/main_window_definition.h"

namespace br {
namespace {

std::vector<std::string> names_of(const std::vector<std::size_t>& cycle) {
    std::vector<std::string> names;
    for (std::size_t i : cycle) names.emplace_back(kMainWindow.controls[i].name);
    return names;
}

std::size_t index_of(const char* name) {
    for (std::size_t i = 0; i < kMainWindow.controls.size(); ++i) {
        if (std::string(kMainWindow.controls[i].name) == name) return i;
    }
    ADD_FAILURE() << "no control " << name;
    return 0;
}

TEST(TabCycle, MainWindowRunsFromTheEditBoxThroughTheCheckBoxesToTheButton) {
    const auto cycle = tab_cycle(kMainWindow.controls, [](std::size_t) { return true; });
    EXPECT_EQ(names_of(cycle), (std::vector<std::string>{names::编辑框1, names::睡眠, names::图片, names::按钮1}));
}

TEST(TabCycle, ControlsThatCannotTakeTheFocusLeaveTheCycle) {
    const std::size_t button = index_of(names::按钮1);
    const auto without_button = tab_cycle(kMainWindow.controls, [&](std::size_t i) { return i != button; });
    EXPECT_EQ(names_of(without_button), (std::vector<std::string>{names::编辑框1, names::睡眠, names::图片}));
    // After 开始 nothing can take the focus: Tab finds nowhere to go.
    const auto none = tab_cycle(kMainWindow.controls, [](std::size_t) { return false; });
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(next_in_cycle(none, std::nullopt, true));
}

TEST(TabCycle, LowerTabOrderValuesComeFirstAndTiesGoToTheLaterDefinition) {
    const ControlDefinition controls[] = {
        {ControlKind::Button, "a", {}, "", true, false, true, 2, 0, TextAlign::Left, nullptr},
        {ControlKind::Button, "b", {}, "", true, false, true, 1, 0, TextAlign::Left, nullptr},
        {ControlKind::Label, "label", {}, "", true, false, false, 0, 0, TextAlign::Left, nullptr},
        {ControlKind::Button, "c", {}, "", true, false, true, 1, 0, TextAlign::Left, nullptr},
    };
    EXPECT_EQ(tab_cycle(controls, [](std::size_t) { return true; }), (std::vector<std::size_t>{3, 1, 0}));
}

TEST(TabCycle, NextWrapsBothWaysAndStartsAtAnEndFromOutside) {
    const std::vector<std::size_t> cycle = {6, 4, 3, 0};
    struct Case {
        std::optional<std::size_t> from;
        bool forward;
        std::size_t to;
    };
    const Case cases[] = {
        {6, true, 4}, {0, true, 6}, {6, false, 0}, {3, false, 4}, {std::nullopt, true, 6}, {std::nullopt, false, 0},
        {5, true, 6},  // a control outside the cycle
    };
    for (const auto& c : cases) {
        EXPECT_EQ(next_in_cycle(cycle, c.from, c.forward), c.to)
            << "from " << (c.from ? std::to_string(*c.from) : "nothing") << (c.forward ? " forward" : " backward");
    }
}

TEST(Placement, CentredWithDivisionTruncatingTowardZero) {
    struct Case {
        int screen, window, start;
    };
    const Case cases[] = {
        {1920, 316, 802}, {1080, 217, 431}, {1366, 316, 525},  // the odd pixel goes to the right
        {1920, 1080, 420}, {1080, 762, 159}, {768, 762, 3},
        {1024, 1080, -28}, {800, 1080, -140}, {600, 762, -81},
        {1079, 1080, 0},  // -1 / 2 truncates to 0, not -1
    };
    for (const auto& c : cases) {
        EXPECT_EQ(centred(c.screen, c.window), c.start) << c.window << " on " << c.screen;
    }
}

}  // namespace
}  // namespace br
