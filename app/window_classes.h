#pragma once
// The window classes of the program: its top-level windows, its self-painting
// labels and its timers, plus the typed-character filter of its edit boxes.
#include <windows.h>

namespace br {

inline constexpr wchar_t kWindowClass[] = L"BreakReminderWindow";
inline constexpr wchar_t kLabelClass[] = L"BreakReminderLabel";
inline constexpr wchar_t kTimerClass[] = L"BreakReminderTimer";
inline constexpr wchar_t kOwnerClass[] = L"BreakReminderOwner";

bool register_window_classes(HINSTANCE instance);

// Lets only digits and '-' be typed into an edit box; control characters
// (Backspace, the clipboard keys) pass, and pasted text is not filtered.
void filter_typed_characters(HWND edit);

}  // namespace br
