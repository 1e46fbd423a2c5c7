#pragma once
#include <windows.h>

#include <string_view>

#include "main_window/gui.h"

namespace br {

// A task-modal box without icon; returns only when it has been closed. A box
// the system cannot show counts as OK.
BoxResult show_message_box(std::string_view text, Buttons buttons, std::string_view title,
                           HWND owner);

}  // namespace br
