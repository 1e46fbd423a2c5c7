#pragma once
// The narrow set of GUI operations that the handlers and the reminder cycle use.
// The Win32 side lives in platform/win32_gui; host tests use an in-memory fake.
// Every text crossing this interface is GBK (code page 936).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace br {

enum class Buttons { Ok = 0, OkCancel = 1 };
enum class BoxResult { Ok = 0, Cancel = 1 };

// A native window handle as a number; 0 means no window.
using NativeHandle = std::uintptr_t;
inline constexpr NativeHandle kNoOwner = 0;

class Gui {
public:
    virtual ~Gui() = default;

    // The control's window text, a copy the caller owns; nothing for an empty control.
    virtual std::optional<std::string> read_text(std::string_view control) = 0;
    // 1 when the check box is ticked, otherwise 0.
    virtual int read_tick(std::string_view control) = 0;
    // Ticks the box exactly when tick is 1; raises no clicked event.
    virtual void write_tick(std::string_view control, int tick) = 0;
    virtual void hide(std::string_view control) = 0;
    virtual void disable(std::string_view control) = 0;
    // Milliseconds; negative counts as 0, which stops the timer.
    virtual void write_timer_period(std::string_view control, std::int64_t milliseconds) = 0;
    // Task-modal, no icon; returns Ok only for the OK button.
    virtual BoxResult message_box(std::string_view text, Buttons buttons, std::string_view title,
                                  NativeHandle owner) = 0;
    virtual NativeHandle main_window_handle() = 0;
    virtual void write_always_on_top(bool on) = 0;
    // Opens the picture window in dialog mode; returns once it has been closed.
    virtual bool open_picture_window() = 0;
    // Asks the system to hibernate at once (bound at first use; fatal when the
    // function cannot be found). The result is not looked at.
    virtual void hibernate() = 0;
    // Ends the process through the fatal error report; does not return.
    [[noreturn]] virtual void fatal_error(std::string_view message, std::uint32_t code) = 0;
};

}  // namespace br
