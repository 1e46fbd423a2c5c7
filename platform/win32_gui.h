#pragma once
// The GUI operations on the real main window.
#include "main_window/gui.h"
#include "main_window/hibernate.h"
#include "platform/win32_power.h"

namespace br {

class Shell;
class ProgramWindow;

class Win32Gui final : public Gui {
public:
    explicit Win32Gui(Shell& shell) : shell_(shell), hibernate_(power_) {}

    std::optional<std::string> read_text(std::string_view control) override;
    int read_tick(std::string_view control) override;
    void write_tick(std::string_view control, int tick) override;
    void hide(std::string_view control) override;
    void disable(std::string_view control) override;
    void write_timer_period(std::string_view control, std::int64_t milliseconds) override;
    BoxResult message_box(std::string_view text, Buttons buttons, std::string_view title,
                          NativeHandle owner) override;
    NativeHandle main_window_handle() override;
    void write_always_on_top(bool on) override;
    bool open_picture_window() override;
    void hibernate() override;
    [[noreturn]] void fatal_error(std::string_view message, std::uint32_t code) override;

    // Part of the end sequence: frees the library of the hibernate call.
    void release_power_library() { hibernate_.release(); }

private:
    ProgramWindow* main_window() const;

    Shell& shell_;
    Win32Power power_;
    HibernateCall hibernate_;
};

}  // namespace br
