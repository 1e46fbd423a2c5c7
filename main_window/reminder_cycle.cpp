#include "main_window/reminder_cycle.h"

namespace br {

void reminder_cycle(Gui&) {}

}  // namespace br
