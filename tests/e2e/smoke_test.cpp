// The program starts, shows a window and ends cleanly when that window is closed.
#include <gtest/gtest.h>

#include "tests/driver/driver.h"

namespace {

TEST(Smoke, StartsShowsAWindowAndEndsCleanlyWhenClosed) {
    const std::wstring program = drv::environment(L"BR_PROGRAM");
    ASSERT_FALSE(program.empty()) << "BR_PROGRAM names no program to test";
    drv::Process process = drv::Process::start(program);
    HWND window = drv::wait_for_window(process.pid(), drv::any_visible(), drv::kDefaultTimeout,
                                       "a visible top-level window of the program");
    drv::post_close(window);
    EXPECT_EQ(process.wait_exit(drv::kDefaultTimeout), std::optional<DWORD>(0));
}

}  // namespace
