#pragma once
// Where a window of a given outer size starts: centred on the primary screen.

namespace br {

// Integer division truncating toward zero, so a window larger than the screen
// gets a negative position and juts out on both sides.
constexpr int centred(int screen_extent, int window_extent) {
    return (screen_extent - window_extent) / 2;
}

}  // namespace br
