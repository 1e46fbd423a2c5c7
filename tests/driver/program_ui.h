#pragma once
// What the tools see of break-reminder from outside: its window classes, the
// texts by which they find its controls and boxes, and the id of the timer
// whose WM_TIMER is a tick. One place, so that a renamed class or text breaks
// every tool and test alike.
#include <windows.h>

namespace ui {

inline constexpr wchar_t kWindowClass[] = L"BreakReminderWindow";
inline constexpr wchar_t kTimerClass[] = L"BreakReminderTimer";
inline constexpr wchar_t kLabelClass[] = L"BreakReminderLabel";
inline constexpr wchar_t kStart[] = L"开始";
inline constexpr wchar_t kPictureBox[] = L"是否播放活动颈椎图片";
inline constexpr wchar_t kSleepBox[] = L"是否睡眠";
inline constexpr wchar_t kPictureQuestion[] = L"活动活动颈椎吧!";
inline constexpr UINT_PTR kTickTimer = 1;

}  // namespace ui
