// Start-up: the shell, the main window, the event loop, the end.
#include <windows.h>

#include "app/shell.h"
#include "main_window/main_window_definition.h"
#include "main_window/texts.h"
#include "platform/win32_gui.h"

namespace {

// The program's own start-up and clean-up routines; it has nothing to do in them.
void initialise() {}
void clean_up() {}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto shell = br::Shell::create(instance);
    if (!shell) return -1;
    initialise();
    shell->register_clean_up(clean_up);
    br::Win32Gui gui(*shell);
    shell->set_gui(gui);
    if (!shell->open_window(br::kMainWindow, false)) {
        shell->fatal_error(br::texts::kMainWindowFailed, GetLastError());
    }
    const int exit_code = shell->run_event_loop();
    // The end sequence: no handler runs any more, the clean-up routine, the
    // library of the hibernate call, and last the hidden owner window.
    shell->end();
    gui.release_power_library();
    shell.reset();
    return exit_code;
}
