#pragma once
// Turns the settings of a window definition into Win32 windows: the frame of
// the window itself and one child window per control.
#include <windows.h>

#include "app/window_definition.h"
#include "platform/handles.h"

namespace br {

// Creates the top-level window, hidden, centred on the primary screen, at
// exactly the definition's outer size. `self` arrives in WM_NCCREATE.
HWND create_frame(const WindowDefinition& definition, HWND owner, HINSTANCE instance, void* self);

// Creates one control as a hidden child window with id `id`. `param` arrives
// in WM_NCCREATE of the labels and timers.
HWND create_control(const ControlDefinition& control, HWND parent, int id, HINSTANCE instance,
                    void* param);

// The stored font of a control (LOGFONT of its height, system-chosen face);
// nothing for controls that use the stock GUI font.
Font create_control_font(const ControlDefinition& control);

// Edit boxes: no text limit, caret before the first character, tall enough
// for one CJK character in its font, digits and '-' only from the keyboard.
void finish_edit(HWND edit);

}  // namespace br
