// The reminder cycle: at each tick of 时钟1 the main window goes above all
// others and the user is told to rest as the rest mode says.
#include "main_window/reminder_cycle.h"

#include "main_window/control_names.h"
#include "main_window/gui.h"
#include "main_window/interval.h"
#include "main_window/join_texts.h"
#include "main_window/texts.h"

namespace br {
namespace {

// Every box of the cycle: title "提醒", owned by the main window, whose handle
// is fetched afresh for each box.
BoxResult remind(Gui& gui, const char* text, Buttons buttons) {
    return gui.message_box(text, buttons, texts::kReminderTitle, gui.main_window_handle());
}

void stop_timer(Gui& gui) { gui.write_timer_period(names::时钟1, 0); }

// The count starts again from now, with the interval as it stands in 编辑框1.
void re_arm(Gui& gui) {
    gui.write_timer_period(names::时钟1, period_for_minutes(read_reminder_interval(gui)));
}

// The interval text exactly as typed, joined with the texts around it.
TextBuffer with_interval(Gui& gui, std::string_view before, std::string_view after) {
    const std::optional<std::string> interval = gui.read_text(names::编辑框1);
    return join_texts(gui, {before, interval, after});
}

// The timer keeps running, so a reminder falling due meanwhile nests inside.
void picture_branch(Gui& gui) {
    gui.write_always_on_top(true);
    if (remind(gui, texts::kPictureQuestion, Buttons::OkCancel) == BoxResult::Ok) {
        gui.write_always_on_top(false);
        gui.open_picture_window();
    } else {
        remind(gui, texts::kPictureDeclined, Buttons::Ok);
        gui.write_always_on_top(false);
    }
}

void plain_branch(Gui& gui) {
    stop_timer(gui);
    gui.write_always_on_top(true);
    remind(gui, with_interval(gui, "", texts::kPlainAfterInterval).get(), Buttons::Ok);
    gui.write_always_on_top(false);
    re_arm(gui);
}

void sleep_branch(Gui& gui) {
    stop_timer(gui);
    gui.write_always_on_top(true);
    const BoxResult answer =
        remind(gui, with_interval(gui, "", texts::kSleepAfterInterval).get(), Buttons::OkCancel);
    if (answer != BoxResult::Ok) {
        remind(gui,
               with_interval(gui, texts::kSleepDeclinedBefore, texts::kSleepDeclinedAfter).get(),
               Buttons::Ok);
        re_arm(gui);
        gui.write_always_on_top(false);
        return;
    }
    re_arm(gui);
    gui.write_always_on_top(false);
    gui.hibernate();
}

}  // namespace

void reminder_cycle(Gui& gui) {
    // Three tests, each made on the tick states as they are when it is made.
    if (gui.read_tick(names::图片) == 1) picture_branch(gui);
    if (gui.read_tick(names::图片) == 0 && gui.read_tick(names::睡眠) == 0) plain_branch(gui);
    if (gui.read_tick(names::睡眠) == 1) sleep_branch(gui);
}

}  // namespace br
