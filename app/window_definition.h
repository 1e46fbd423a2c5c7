#pragma once
// The fixed description of a window: its own settings, then an ordered list of
// controls. One routine (app/window_builder) builds any window from it.
#include <cstdint>
#include <span>

namespace br {

class Gui;
// An event handler: takes nothing of its own, reaches the controls by name
// through the GUI operations.
using Handler = void (*)(Gui&);

enum class ControlKind { Button, CheckBox, Edit, Label, Timer };
enum class TextAlign { Left, Centre, Right };

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlDefinition {
    ControlKind kind;
    const char* name;  // the control's name, also its identity in the handlers
    Rect rect;         // client coordinates of the window
    const char* text;  // GBK
    bool visible;
    bool disabled;
    bool tab_stop;
    int tab_order;
    int font_height;  // LOGFONT height; 0 = the stock GUI font
    TextAlign align;
    Handler event;  // clicked event of a button or check box, periodic event of a timer
};

enum class Frame {
    FixedCaption,  // fixed frame with caption, system menu and minimise box
    None,          // no frame at all: the whole window is client area
};

struct WindowDefinition {
    const char* title;  // GBK
    Frame frame;
    int width;  // outer size
    int height;
    bool always_on_top;
    bool esc_closes;
    std::span<const std::uint8_t> picture;  // JPEG drawn over the client area; may be empty
    std::span<const ControlDefinition> controls;
};

}  // namespace br
