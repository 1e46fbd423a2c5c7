#pragma once
#include "app/window_definition.h"

namespace br {

// The frameless, always-on-top window filled with the exercise picture.
extern const WindowDefinition kPictureWindow;

}  // namespace br
