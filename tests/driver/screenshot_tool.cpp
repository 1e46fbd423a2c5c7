// screenshot.exe main|picture PROGRAM OUT.bmp
//
// Starts PROGRAM, waits until its main window is shown, active and painted,
// and saves a screenshot of it as a 24-bit BMP. With "picture" it opens the
// picture window instead, as a user does (tick 图片, press 开始, let a
// reminder fall due, answer its question with OK), and saves that window,
// clipped to the screen. Then it closes everything and exits 0; on failure
// it says why on standard error and exits 1.
#include <cstdio>
#include <string>

#include "driver.h"
#include "program_ui.h"

namespace {

using namespace ui;

// The part of `window` that lies on the screen.
RECT on_screen(HWND window) {
    const RECT rect = drv::info(window).rect;
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    if (!IntersectRect(&visible, &rect, &screen)) throw drv::Failure("the window lies off the screen");
    return visible;
}

bool same_pixels(const drv::Screenshot& a, const drv::Screenshot& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

// Waits until two screenshots in a row of the window's visible part are the
// same, so that its painting has finished, and returns the last one.
drv::Screenshot settled_screenshot(HWND window) {
    drv::Screenshot last = drv::screenshot(on_screen(window));
    drv::wait_until(
        [&] {
            drv::Screenshot next = drv::screenshot(on_screen(window));
            const bool settled = same_pixels(last, next);
            last = std::move(next);
            return settled;
        },
        drv::kDefaultTimeout, "two identical screenshots in a row of " + drv::info(window).describe());
    return last;
}

bool ticked(HWND check_box) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return result == BST_CHECKED;
}

HWND child(HWND parent, HWND found, std::string_view what) {
    if (!found) throw drv::Failure(std::string(what) + " not found among\n" + drv::describe_children(parent));
    return found;
}

// Opens the picture window from the main window and returns it.
HWND open_picture_window(DWORD pid, HWND main) {
    HWND picture_box = child(main, drv::find_child_by_text(main, kPictureBox), "the picture check box");
    HWND start = child(main, drv::find_child_by_text(main, kStart), "the start button");
    HWND timer = child(main, drv::find_child_by_class(main, kTimerClass), "the timer window");
    drv::click_button(picture_box);
    drv::wait_until([&] { return ticked(picture_box); }, drv::kDefaultTimeout, "the picture check box ticked");
    drv::click_button(start);
    drv::wait_until([&] { return !IsWindowVisible(start); }, drv::kDefaultTimeout,
                    "the start button to disappear after it was pressed");
    drv::post_timer(timer, kTickTimer);
    const auto box = drv::wait_for_message_box_text(pid, kPictureQuestion, drv::kDefaultTimeout);
    drv::answer(box.hwnd, IDOK);
    drv::wait_gone(box.hwnd, drv::kDefaultTimeout, "the question box to close after OK");
    return drv::wait_for_window(
        pid, [main](const drv::WindowInfo& w) { return w.visible && w.class_name == kWindowClass && w.hwnd != main; },
        drv::kDefaultTimeout, "the picture window after OK to the question");
}

int run(const std::wstring& mode, const std::wstring& program, const std::wstring& out) {
    drv::Process process = drv::Process::start(program);
    HWND main = drv::wait_for_window(process.pid(), drv::with_class(kWindowClass), drv::kDefaultTimeout,
                                     "the main window");
    drv::wait_until(
        [&] {
            const auto state = drv::gui_state(main);
            return state.active == main && state.focus != nullptr;
        },
        drv::kDefaultTimeout, "the main window active with the focus in it");

    if (mode == L"main") {
        settled_screenshot(main).save_bmp(out);
    } else {
        HWND picture = open_picture_window(process.pid(), main);
        settled_screenshot(picture).save_bmp(out);
        drv::send_keys(picture, {drv::kEsc});
        drv::wait_gone(picture, drv::kDefaultTimeout, "Esc to close the picture window");
    }

    drv::post_close(main);
    if (!process.wait_exit(drv::kDefaultTimeout)) {
        throw drv::Failure("the program did not end after its main window was closed");
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 || (std::wstring(argv[1]) != L"main" && std::wstring(argv[1]) != L"picture")) {
        std::fputs("usage: screenshot.exe main|picture PROGRAM OUT.bmp\n", stderr);
        return 2;
    }
    try {
        return run(argv[1], argv[2], drv::windows_path(argv[3]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshot: %s\n", error.what());
        return 1;
    }
}
