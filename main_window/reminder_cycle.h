#pragma once

namespace br {

class Gui;

// The handler of 时钟1's periodic event.
void reminder_cycle(Gui& gui);

}  // namespace br
