#pragma once
// The program under test, started fresh for each test and worked from outside.
#include <string>
#include <vector>

#include "tests/driver/driver.h"
#include "tests/driver/program_ui.h"

namespace e2e {

using namespace ui;

// The path of the program under test (BR_PROGRAM).
std::wstring program_path();

class Program {
public:
    // Starts the program and waits for its main window.
    explicit Program(const std::vector<std::wstring>& args = {}, std::wstring_view working_dir = {});
    // Starts a program already running as `process` (for instance from another path).
    explicit Program(drv::Process process);

    DWORD pid() const { return process_.pid(); }
    drv::Process& process() { return process_; }
    HWND main() const { return main_; }
    HWND edit() const;
    HWND start_button() const;
    HWND picture_box() const;
    HWND sleep_box() const;
    HWND timer() const;

    std::wstring interval_text() const;
    // Replaces the text of 编辑框1 as a paste does: the typing filter is not involved.
    void set_interval_text(std::wstring_view text) const;
    // Replaces the text of 编辑框1 through the clipboard and Ctrl+V.
    void paste_interval_text(std::wstring_view text) const;
    bool ticked(HWND check_box) const;
    // Clicks a check box and waits until it shows the tick.
    void tick_check_box(HWND check_box) const;

    // Waits for a message box of the program with this text.
    drv::MessageBoxInfo wait_box(std::wstring_view text) const;
    // Answers a box and waits until it has gone.
    void answer(const drv::MessageBoxInfo& box, int id) const;
    // Presses 开始 and waits until the reminders run (the button hidden).
    void start() const;
    // Ticks a rest-mode box (picture_box() or sleep_box()), then starts.
    void start_in_mode(HWND rest_mode) const;
    // Delivers one tick of 时钟1, as the system timer would.
    void tick() const;

    // The picture window, when one is shown; nothing otherwise.
    HWND picture_window() const;
    // Waits for the picture window to show.
    HWND wait_picture_window(const std::string& what) const;

    // Closes the main window and returns the exit code.
    DWORD close_and_wait();

private:
    drv::Process process_;
    HWND main_ = nullptr;
};

}  // namespace e2e
