#include "main_window/handlers.h"

#include "main_window/control_names.h"
#include "main_window/gui.h"
#include "main_window/interval.h"
#include "main_window/texts.h"

namespace br {

void start_clicked(Gui& gui) {
    if (read_reminder_interval(gui) < kShortestInterval) {
        gui.message_box(texts::kIntervalTooShort, Buttons::Ok, texts::kRefusalTitle, kNoOwner);
        return;
    }
    // Nothing can run between the two reads, so this is the interval just checked.
    gui.write_timer_period(names::时钟1, period_for_minutes(read_reminder_interval(gui)));
    gui.hide(names::按钮1);
    gui.disable(names::编辑框1);
    gui.disable(names::图片);
    gui.disable(names::睡眠);
}

namespace {

// The click has already toggled `own`; if that made both boxes ticked, refuse
// and untick `own` again. Writing a tick raises no clicked event.
void keep_one_rest_mode(Gui& gui, const char* own, const char* other) {
    if (gui.read_tick(other) != 1) return;
    gui.message_box(texts::kOnlyOneRestMode, Buttons::Ok, texts::kRefusalTitle, kNoOwner);
    gui.write_tick(own, 0);
}

}  // namespace

void picture_clicked(Gui& gui) { keep_one_rest_mode(gui, names::图片, names::睡眠); }

void sleep_clicked(Gui& gui) { keep_one_rest_mode(gui, names::睡眠, names::图片); }

}  // namespace br
