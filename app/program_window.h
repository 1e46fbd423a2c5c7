#pragma once
// One open window of the program, built from its definition. It owns the
// window handle (and, through it, the controls), the controls' fonts, the timer
// state of its timer controls and, for a picture window, the decoded picture.
#include <windows.h>

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "app/window_definition.h"
#include "main_window/timer_period.h"
#include "picture_window/picture_painter_win.h"
#include "platform/handles.h"
#include "platform/win32_timer.h"

namespace br {

class Shell;

// A timer control: a hidden child window whose WM_TIMER messages are its ticks.
struct TimerControl {
    TimerControl(Shell& shell, Handler event, HWND window)
        : shell(shell), event(event), system(window), period(system) {}
    Shell& shell;
    Handler event;
    Win32Timer system;
    TimerPeriod period;
};

struct Control {
    const ControlDefinition* definition;
    HWND window;
};

class ProgramWindow {
public:
    // Builds the window, hidden, with its controls; nothing when that fails.
    static std::unique_ptr<ProgramWindow> create(Shell& shell, const WindowDefinition& definition,
                                                 HWND owner);
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;
    ~ProgramWindow();

    HWND window() const { return window_; }
    const WindowDefinition& definition() const { return definition_; }
    HWND control(std::string_view name) const;
    TimerPeriod* timer(std::string_view name) const;

    void write_always_on_top(bool on);
    // Keyboard handling before dispatch; true when the key is used up.
    bool handle_key(const MSG& message);
    // The windows an opening in dialog mode disabled, with their earlier state.
    void remember_disabled(std::vector<std::pair<HWND, bool>> windows) {
        disabled_by_opening_ = std::move(windows);
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    ProgramWindow(Shell& shell, const WindowDefinition& definition)
        : shell_(shell), definition_(definition) {}
    bool build(HWND owner);
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void on_activate(bool active);
    void focus_first();
    void move_focus(bool forward);
    void on_command(int id, int notification);
    void close();
    bool can_focus(std::size_t index) const;

    Shell& shell_;
    const WindowDefinition& definition_;
    HWND window_ = nullptr;
    std::vector<Control> controls_;
    std::vector<Font> fonts_;
    std::vector<std::unique_ptr<TimerControl>> timers_;
    PicturePainter picture_;
    HWND remembered_focus_ = nullptr;
    std::vector<std::pair<HWND, bool>> disabled_by_opening_;
    bool always_on_top_ = false;
};

}  // namespace br
