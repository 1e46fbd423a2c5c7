#pragma once
// Paints a window's picture: decoded on the first paint and kept for the life of
// the window, stretched over the whole client area.
#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/handles.h"

namespace br {

class PicturePainter {
public:
    void set_source(std::span<const std::uint8_t> jpeg) { source_ = jpeg; }
    // Handles WM_PAINT.
    void paint(HWND window);

private:
    bool decode(HDC reference);

    std::span<const std::uint8_t> source_;
    bool decoded_ = false;
    Bitmap bitmap_;  // the decoded picture as a DIB section; empty when it cannot be decoded
    int width_ = 0;
    int height_ = 0;
};

}  // namespace br
