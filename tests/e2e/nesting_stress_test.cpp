// A week unattended in picture mode at the shortest interval: a question per
// elapsed period, each nested in the modal loop of the one before. The program
// must hold 1008 of them and still answer every one, innermost first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "tests/e2e/program.h"

namespace e2e {
namespace {

constexpr int kWeekOfTenMinuteReminders = 7 * 24 * 6;  // 1008

// How deep to nest: a whole week unless BR_NESTED_QUESTIONS says otherwise.
int nested_questions() {
    const std::wstring asked = drv::environment(L"BR_NESTED_QUESTIONS");
    return asked.empty() ? kWeekOfTenMinuteReminders : std::stoi(asked);
}
constexpr wchar_t kDeclined[] = L"下次一定要休息一下哦";
constexpr int kBoxText = 0xFFFF;

// What NtQueryInformationThread tells of a thread (ThreadBasicInformation).
struct ThreadBasicInformation {
    LONG exit_status;
    void* teb;
    void* client_id[2];
    ULONG_PTR affinity_mask;
    LONG priority;
    LONG base_priority;
};

// The stack the program's GUI thread has used so far: from the stack base down
// to the lowest page that holds anything but zeros (Wine hands out the whole
// reserve at once, so the TEB's stack limit does not move).
std::size_t committed_stack(HWND window) {
    const DWORD thread_id = GetWindowThreadProcessId(window, nullptr);
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread_id);
    if (!thread) throw drv::Failure("OpenThread failed");
    ThreadBasicInformation basic{};
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
    const LONG status = query(thread, 0 /* ThreadBasicInformation */, &basic, sizeof basic, nullptr);
    CloseHandle(thread);
    if (status != 0) throw drv::Failure("NtQueryInformationThread failed");
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, process_id);
    NT_TIB tib{};
    SIZE_T read = 0;
    ReadProcessMemory(process, basic.teb, &tib, sizeof tib, &read);
    if (read != sizeof tib) {
        CloseHandle(process);
        throw drv::Failure("ReadProcessMemory of the TEB failed");
    }
    constexpr std::size_t kPage = 4096;
    std::vector<char> page(kPage);
    auto* base = static_cast<char*>(tib.StackBase);
    auto* lowest = base;
    for (char* at = base - kPage; at >= static_cast<char*>(tib.StackLimit); at -= kPage) {
        if (!ReadProcessMemory(process, at, page.data(), kPage, &read) || read != kPage) continue;
        if (std::any_of(page.begin(), page.end(), [](char c) { return c != 0; })) lowest = at;
    }
    CloseHandle(process);
    return static_cast<std::size_t>(base - lowest);
}

// Waits for a box with this text that is not among `known`; the newest box is
// the first in Z order.
HWND wait_for_new_box(const Program& program, const std::set<HWND>& known, const wchar_t* text) {
    HWND box = nullptr;
    drv::wait_until(
        [&] {
            for (HWND window : drv::top_windows(program.pid(), true)) {
                if (known.count(window) || drv::class_name(window) != drv::kDialogClass) continue;
                box = window;
                return drv::window_text(GetDlgItem(box, kBoxText)) == text;
            }
            return false;
        },
        drv::Timeout{20'000}, "a new box reading " + drv::utf8(text),
        [&] { return box ? drv::info(box).describe() : std::string("no new box"); });
    return box;
}

TEST(Stress, AWeekOfNestedPictureQuestionsIsAnsweredInnermostFirst) {
    Program program;
    program.start_in_mode(program.picture_box());

    std::vector<HWND> questions;
    std::set<HWND> boxes;
    std::size_t stack_at_first = 0;
    const int levels = nested_questions();
    for (int level = 1; level <= levels; ++level) {
        program.tick();
        try {
            questions.push_back(wait_for_new_box(program, boxes, kPictureQuestion));
            boxes.insert(questions.back());
        } catch (const drv::Failure&) {
            ADD_FAILURE() << "question " << level << " did not come; the program "
                          << (program.process().running() ? "still runs" : "has ended") << "; it shows "
                          << drv::message_boxes(program.pid()).size() << " boxes";
            throw;
        }
        if (level == 1) stack_at_first = committed_stack(program.main());
        if (level % 100 == 0) {
            std::printf("%d nested questions, %zu bytes of stack used\n", level, committed_stack(program.main()));
            std::fflush(stdout);
        }
    }
    const std::size_t stack_at_last = committed_stack(program.main());
    const double per_level =
        static_cast<double>(stack_at_last - stack_at_first) / (levels - 1);
    std::printf("stack used: %zu bytes at 1 question, %zu bytes at %d; %.0f bytes per nested cycle\n",
                stack_at_first, stack_at_last, levels, per_level);
    RecordProperty("stack_bytes_per_nested_cycle", static_cast<int>(per_level));

    // Innermost first: Cancel, then the reply's OK, and the question below is active again.
    for (auto it = questions.rbegin(); it != questions.rend(); ++it) {
        drv::answer(*it, IDCANCEL);
        HWND reply = wait_for_new_box(program, boxes, kDeclined);
        drv::answer(reply, IDOK);
        drv::wait_gone(reply, drv::kDefaultTimeout, "the reply to close");
    }
    drv::wait_until([&] { return !drv::info(program.main()).topmost && IsWindowEnabled(program.main()); },
                    drv::kDefaultTimeout, "the main window enabled and off the top");

    // Still alive and answering.
    program.tick();
    drv::answer(program.wait_box(kPictureQuestion).hwnd, IDCANCEL);
    program.answer(program.wait_box(kDeclined), IDOK);
    EXPECT_EQ(program.close_and_wait(), 0u);
}

}  // namespace
}  // namespace e2e
