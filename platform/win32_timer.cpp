#include "platform/win32_timer.h"

namespace br {

void Win32Timer::set(std::uint32_t id, std::uint32_t milliseconds) {
    SetTimer(window_, id, milliseconds, nullptr);
}

void Win32Timer::kill(std::uint32_t id) { KillTimer(window_, id); }

}  // namespace br
