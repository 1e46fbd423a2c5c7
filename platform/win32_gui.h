#pragma once
// The GUI operations on the real main window.
#include "main_window/gui.h"

namespace br {

class Shell;
class ProgramWindow;

class Win32Gui final : public Gui {
public:
    explicit Win32Gui(Shell& shell) : shell_(shell) {}

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
    [[noreturn]] void fatal_error(std::string_view message, std::uint32_t code) override;

private:
    ProgramWindow* main_window() const;

    Shell& shell_;
};

}  // namespace br
