// Measures break-reminder and the baseline program from outside, as a Win32
// program in the same Wine session, for scripts/benchmark.sh. Prints one
// "name value" line per figure on standard output.
//
//   measure startup PROGRAM CLASS BASELINE CLASS RUNS
//       Starts each program RUNS times, alternating, and prints
//       "startup program|baseline MS": from CreateProcess until the window of
//       CLASS is visible and active and WaitForInputIdle has returned.
//   measure hold EXE CLASS shown|started
//       Starts EXE, waits as above ("started": then presses 开始 and waits until
//       the button is hidden, the timer armed), prints "ready WINDOWS_PID",
//       and waits (up to 15 minutes) until the process has ended.
//   measure close WINDOWS_PID
//       Closes the visible windows of that process and waits until it ends.
//   measure picture PROGRAM RUNS
//       Ticks 图片, presses 开始, delivers one tick, answers 活动活动颈椎吧! with OK
//       and prints "picture visible|painted|validated MS" for each run, timed
//       from posting the OK: visible = a second BreakReminderWindow is shown;
//       painted = a screen capture of three rows of its client area shows the
//       picture (near-white paper and coloured strokes, which neither the
//       background brush nor the desktop show); validated = GetUpdateRect
//       reports no update region (BeginPaint has run).
//   measure nesting PROGRAM LEVELS
//       Ticks 图片, presses 开始, then delivers a tick each time a new
//       活动活动颈椎吧! box is up, so each reminder cycle runs inside the modal
//       loop of the one before, LEVELS deep. Prints "nesting bytes_per_level N"
//       and "nesting levels N": the growth of the main thread's stack high-water
//       mark (the lowest non-zero byte of its stack, read with
//       ReadProcessMemory) over the second half of the levels, per level (in
//       the first levels the mark may still lie in depth that start-up reached).
//   measure pagefault RUNS
//       Prints "pagefault us_per_page US" RUNS times: the time to write the
//       first byte of each page of fresh 4 MiB of memory, per page. What this
//       machine charges for memory touched for the first time, as Wine's
//       drawing does with its buffers and a new window's surface.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "driver.h"
#include "program_ui.h"

namespace {

using namespace ui;
constexpr DWORD kStartTimeoutMs = 30'000;
constexpr DWORD kHoldTimeoutMs = 15 * 60 * 1000;
constexpr DWORD kCloseTimeoutMs = 10'000;

double now_ms() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

// Polls `condition` about every millisecond until it holds or `timeout_ms`
// has passed; the short interval keeps the measured times fine-grained.
bool poll(const std::function<bool()>& condition, DWORD timeout_ms) {
    const double deadline = now_ms() + timeout_ms;
    for (;;) {
        if (condition()) return true;
        if (now_ms() > deadline) return false;
        Sleep(1);
    }
}

void print(const char* name, const char* which, double value) {
    std::printf("%s %s %.3f\n", name, which, value);
    std::fflush(stdout);
}

// The visible top-level window of `pid` with class `window_class`, other than `except`.
HWND visible_window(DWORD pid, const std::wstring& window_class, HWND except = nullptr) {
    for (HWND window : drv::top_windows(pid, true)) {
        if (window != except && drv::class_name(window) == window_class) return window;
    }
    return nullptr;
}

bool active(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return thread != 0 && GetGUIThreadInfo(thread, &gui) && gui.hwndActive == window;
}

// Waits until the window of `window_class` is visible and active and the
// process waits for input; returns that window, or nothing on timeout.
HWND wait_started(const drv::Process& process, const std::wstring& window_class) {
    const double deadline = now_ms() + kStartTimeoutMs;
    HWND window = nullptr;
    if (!poll([&] {
            window = visible_window(process.pid(), window_class);
            return window != nullptr && active(window);
        }, kStartTimeoutMs)) {
        return nullptr;
    }
    const double left = deadline - now_ms();
    if (left <= 0 || WaitForInputIdle(process.handle(), static_cast<DWORD>(left)) != 0) return nullptr;
    return window;
}

void close_process(drv::Process& process) {
    for (HWND window : drv::top_windows(process.pid(), true)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!process.wait_exit({kCloseTimeoutMs})) process.terminate();
}

bool ticked(HWND check_box) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(check_box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return result == BST_CHECKED;
}

// Presses 开始 and waits until the program has hidden the button.
void press_start(HWND main) {
    HWND button = drv::find_child_by_text(main, kStart);
    if (!button) throw drv::Failure("no 开始 button");
    drv::click_button(button);
    if (!poll([&] { return !IsWindowVisible(button); }, kStartTimeoutMs)) {
        throw drv::Failure("开始 was not accepted");
    }
}

int startup(const std::wstring& program, const std::wstring& program_class,
            const std::wstring& baseline, const std::wstring& baseline_class, int runs) {
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            const std::wstring& exe = which == 0 ? program : baseline;
            const std::wstring& window_class = which == 0 ? program_class : baseline_class;
            const double start = now_ms();
            auto process = drv::Process::start(exe);
            HWND window = wait_started(process, window_class);
            const double elapsed = now_ms() - start;
            if (window) {
                print("startup", which == 0 ? "program" : "baseline", elapsed);
            } else {
                std::fprintf(stderr, "measure: %s did not start within %lu ms\n",
                             drv::utf8(exe).c_str(), static_cast<unsigned long>(kStartTimeoutMs));
                ++failures;
            }
            close_process(process);
        }
    }
    return failures == 0 ? 0 : 1;
}

int hold(const std::wstring& exe, const std::wstring& window_class, const std::wstring& mode) {
    auto process = drv::Process::start(exe);
    HWND window = wait_started(process, window_class);
    if (!window) {
        std::fprintf(stderr, "measure: %s did not start\n", drv::utf8(exe).c_str());
        return 1;
    }
    if (mode == L"started") press_start(window);
    std::printf("ready %lu\n", static_cast<unsigned long>(process.pid()));
    std::fflush(stdout);
    // The benchmark reads the process from outside meanwhile and ends it with "close".
    return process.wait_exit({kHoldTimeoutMs}) ? 0 : 1;
}

int close(DWORD pid) {
    drv::Handle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    if (!process) return 1;
    for (HWND window : drv::top_windows(pid, true)) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), kCloseTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kCloseTimeoutMs);
    }
    return 0;
}

// Whether rows of the client area show the picture: mostly near-white paper
// with some strongly coloured strokes. The background brush (a light grey)
// and the desktop behind a window not yet drawn have no coloured pixels.
bool shows_picture(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client) || client.right < 8 || client.bottom < 8) return false;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    long paper = 0, strokes = 0, total = 0;
    for (int quarter = 1; quarter <= 3; ++quarter) {
        const LONG y = origin.y + client.bottom * quarter / 4;
        const RECT row{origin.x, y, origin.x + client.right, y + 1};
        const auto shot = drv::screenshot(row);
        for (int x = 0; x < shot.width(); ++x) {
            const COLORREF c = shot.pixel(x, 0);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            const int high = std::max(r, std::max(g, b)), low = std::min(r, std::min(g, b));
            if (low >= 230) ++paper;
            if (high - low >= 80) ++strokes;
            ++total;
        }
    }
    return paper * 10 >= total * 3 && strokes * 200 >= total;
}

int picture(const std::wstring& program, int runs) {
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        auto process = drv::Process::start(program);
        HWND main = wait_started(process, kWindowClass);
        if (!main) throw drv::Failure("the program did not start");
        HWND picture_mode = drv::find_child_by_text(main, kPictureBox);
        if (!picture_mode) throw drv::Failure("no 图片 check box");
        drv::click_button(picture_mode);
        if (!poll([&] { return ticked(picture_mode); }, kStartTimeoutMs)) throw drv::Failure("图片 not ticked");
        press_start(main);
        HWND timer = drv::find_child_by_class(main, kTimerClass);
        if (!timer) throw drv::Failure("no timer window");
        drv::post_timer(timer, kTickTimer);
        const auto box = drv::wait_for_message_box_text(process.pid(), kPictureQuestion, {kStartTimeoutMs});
        // A box may be raised a moment after it shows: answer it once it is active.
        poll([&] { return active(box.hwnd); }, 2000);

        double visible = -1, painted = -1, validated = -1;
        HWND window = nullptr;
        const double start = now_ms();
        drv::answer(box.hwnd, IDOK);
        poll([&] {
            const double t = now_ms() - start;
            if (!window) {
                window = visible_window(process.pid(), kWindowClass, main);
                if (!window) return false;
                visible = t;
            }
            if (validated < 0 && !GetUpdateRect(window, nullptr, FALSE)) validated = now_ms() - start;
            if (painted < 0 && shows_picture(window)) painted = now_ms() - start;
            return painted >= 0 && validated >= 0;
        }, kStartTimeoutMs);
        if (visible >= 0) print("picture", "visible", visible);
        if (painted >= 0) print("picture", "painted", painted);
        if (validated >= 0) print("picture", "validated", validated);
        if (painted < 0) {
            std::fprintf(stderr, "measure: run %d: the picture was not seen painted\n", run + 1);
            ++failures;
        }
        process.terminate();
    }
    return failures == 0 ? 0 : 1;
}

using QueryThread = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

struct ThreadBasicInformation {
    LONG exit_status;
    PVOID teb;
    HANDLE client_process;
    HANDLE client_thread;
    ULONG_PTR affinity;
    LONG priority;
    LONG base_priority;
};

// The lowest address of the thread's stack that holds a non-zero byte: fresh
// stack pages are zero, so this is the deepest the stack has reached.
std::uintptr_t stack_high_water(HANDLE process, DWORD thread_id) {
    static const auto query = reinterpret_cast<QueryThread>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    drv::Handle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread_id));
    ThreadBasicInformation basic{};
    if (!query || !thread || query(thread.get(), 0, &basic, sizeof basic, nullptr) != 0) {
        throw drv::Failure("NtQueryInformationThread failed");
    }
    NT_TIB tib{};
    if (!ReadProcessMemory(process, basic.teb, &tib, sizeof tib, nullptr)) throw drv::Failure("reading the TEB failed");
    const auto top = reinterpret_cast<std::uintptr_t>(tib.StackBase);
    // The whole reserve, from the allocation that holds the stack limit.
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQueryEx(process, tib.StackLimit, &region, sizeof region)) throw drv::Failure("VirtualQueryEx failed");
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(region.AllocationBase);
    std::vector<unsigned char> page(4096);
    for (; address < top; address += page.size()) {
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, reinterpret_cast<void*>(address), page.data(), page.size(), &read)) continue;
        for (std::size_t i = 0; i < read; ++i) {
            if (page[i] != 0) return address + i;
        }
    }
    return top;
}

int nesting(const std::wstring& program, int levels) {
    auto process = drv::Process::start(program);
    HWND main = wait_started(process, kWindowClass);
    if (!main) throw drv::Failure("the program did not start");
    HWND picture_mode = drv::find_child_by_text(main, kPictureBox);
    drv::click_button(picture_mode);
    if (!poll([&] { return ticked(picture_mode); }, kStartTimeoutMs)) throw drv::Failure("图片 not ticked");
    press_start(main);
    HWND timer = drv::find_child_by_class(main, kTimerClass);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    drv::Handle reader(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process.pid()));
    if (!reader) throw drv::Failure("OpenProcess failed");

    std::vector<HWND> seen;
    std::vector<std::uintptr_t> marks;
    for (int level = 1; level <= levels + 1; ++level) {
        drv::post_timer(timer, kTickTimer);
        HWND box = nullptr;
        if (!poll([&] {
                for (HWND candidate : drv::message_boxes(process.pid())) {
                    if (std::find(seen.begin(), seen.end(), candidate) == seen.end() &&
                        drv::read_message_box(candidate).text == kPictureQuestion) {
                        box = candidate;
                        return true;
                    }
                }
                return false;
            }, kStartTimeoutMs)) {
            std::fprintf(stderr, "measure: no new question box at level %d\n", level);
            break;
        }
        seen.push_back(box);
        marks.push_back(stack_high_water(reader.get(), thread));
    }
    const int reached = static_cast<int>(marks.size()) - 1;
    if (reached >= 2) {
        const int half = reached / 2;
        std::printf("nesting levels %d\n", reached);
        print("nesting", "bytes_per_level",
              static_cast<double>(marks[static_cast<std::size_t>(reached - half)] - marks.back()) / half);
    }
    process.terminate();
    return reached == levels ? 0 : 1;
}

int pagefault(int runs) {
    constexpr std::size_t kBytes = std::size_t{4} << 20;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    for (int run = 0; run < runs; ++run) {
        auto* memory = static_cast<volatile char*>(VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!memory) throw drv::Failure("VirtualAlloc of 4 MiB failed");
        const double start = now_ms();
        for (std::size_t at = 0; at < kBytes; at += page) memory[at] = 1;
        const double elapsed = now_ms() - start;
        VirtualFree(const_cast<char*>(memory), 0, MEM_RELEASE);
        print("pagefault", "us_per_page", elapsed * 1000.0 / static_cast<double>(kBytes / page));
    }
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: measure startup PROGRAM CLASS BASELINE CLASS RUNS\n"
                 "       measure hold EXE CLASS shown|started\n"
                 "       measure close WINDOWS_PID\n"
                 "       measure picture PROGRAM RUNS\n"
                 "       measure nesting PROGRAM LEVELS\n"
                 "       measure pagefault RUNS\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const std::vector<std::wstring> args(argv + 1, argv + argc);
        if (args.size() == 6 && args[0] == L"startup") {
            return startup(args[1], args[2], args[3], args[4], std::stoi(args[5]));
        }
        if (args.size() == 4 && args[0] == L"hold") return hold(args[1], args[2], args[3]);
        if (args.size() == 2 && args[0] == L"close") return close(std::wcstoul(args[1].c_str(), nullptr, 10));
        if (args.size() == 3 && args[0] == L"picture") return picture(args[1], std::stoi(args[2]));
        if (args.size() == 3 && args[0] == L"nesting") return nesting(args[1], std::stoi(args[2]));
        if (args.size() == 2 && args[0] == L"pagefault") return pagefault(std::stoi(args[1]));
        return usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "measure: %s\n", error.what());
        return 1;
    }
}
