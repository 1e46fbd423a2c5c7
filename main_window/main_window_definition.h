#pragma once
#include "app/window_definition.h"

namespace br {

// The start window: interval, rest mode and start button.
extern const WindowDefinition kMainWindow;

}  // namespace br
