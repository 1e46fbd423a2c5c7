#pragma once
// The application shell: the hidden owner window, opening windows (plain and in
// dialog mode), the event loop and its modal form, event delivery, the end
// sequence and the fatal error report.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "app/window_definition.h"
#include "platform/handles.h"

namespace br {

class Gui;
class ProgramWindow;

class Shell {
public:
    // Registers the window classes and creates the hidden owner window;
    // nothing when that fails.
    static std::unique_ptr<Shell> create(HINSTANCE instance);
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    ~Shell();

    // The GUI operations that handlers are given.
    void set_gui(Gui& gui) { gui_ = &gui; }
    void register_clean_up(void (*routine)()) { clean_up_ = routine; }

    // Opens a window from its definition. In dialog mode the window is owned by
    // the hidden owner window, the other windows are disabled while it is open,
    // and the call returns only after it has been closed. An already open
    // window is only brought forward. False when the window cannot be created.
    bool open_window(const WindowDefinition& definition, bool dialog_mode);

    // Runs the event loop until WM_QUIT; returns the exit code it carries.
    int run_event_loop();
    // After the event loop: no handler runs any more, and the clean-up routine
    // runs. The hidden owner window goes with the shell.
    void end();
    // Shows the error and ends the process with exit code -1.
    [[noreturn]] void fatal_error(std::string_view message, std::uint32_t code);

    // Delivers an event to its handler, unless the program is ending.
    void raise(Handler handler);

    ProgramWindow* find(const WindowDefinition& definition) const;
    ProgramWindow* find(HWND window) const;
    // The window opened in dialog mode most recently and still open.
    ProgramWindow* dialog_window() const;
    HINSTANCE instance() const { return instance_; }
    HICON big_icon() const { return big_icon_.get(); }
    HICON small_icon() const { return small_icon_.get(); }

    // Called by a window when its destruction is complete.
    void window_destroyed(ProgramWindow* window);

private:
    explicit Shell(HINSTANCE instance);
    void dispatch(MSG& message);
    void run_modal_loop(const ProgramWindow* window);
    bool is_open(const ProgramWindow* window) const;

    HINSTANCE instance_;
    HWND hidden_owner_ = nullptr;
    Icon big_icon_;
    Icon small_icon_;
    std::vector<std::unique_ptr<ProgramWindow>> windows_;
    std::vector<ProgramWindow*> dialogs_;  // open in dialog mode, innermost last
    Gui* gui_ = nullptr;
    void (*clean_up_)() = nullptr;
    bool handlers_stopped_ = false;
};

}  // namespace br
