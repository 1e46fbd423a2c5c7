#pragma once
#include <windows.h>

#include "main_window/timer_period.h"

namespace br {

// The system timers of one window; no timer procedure, so they arrive as WM_TIMER.
class Win32Timer final : public SystemTimer {
public:
    explicit Win32Timer(HWND window) : window_(window) {}
    void set(std::uint32_t id, std::uint32_t milliseconds) override;
    void kill(std::uint32_t id) override;
    HWND window() const { return window_; }

private:
    HWND window_;
};

}  // namespace br
