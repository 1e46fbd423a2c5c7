#include "picture_window/picture_painter_win.h"

#include <cstring>

#include "picture_window/jpeg_image.h"

namespace br {
namespace {

// Above this display depth the stretch is smoothed.
constexpr DWORD kHalftoneAboveBits = 16;

int stretch_mode() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmBitsPerPel > kHalftoneAboveBits) {
        return HALFTONE;
    }
    return COLORONCOLOR;
}

}  // namespace

bool PicturePainter::decode(HDC reference) {
    const auto image = decode_jpeg(source_);
    if (!image) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image->width;
    info.bmiHeader.biHeight = -image->height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;

    // DIB rows are BGR and padded to four bytes.
    const std::size_t stride = (static_cast<std::size_t>(image->width) * 3 + 3) & ~std::size_t{3};
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < image->height; ++y) {
        const std::uint8_t* from = image->pixels.data() + static_cast<std::size_t>(y) * image->width * 3;
        std::uint8_t* to = rows + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < image->width; ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    bitmap_ = std::move(bitmap);
    width_ = image->width;
    height_ = image->height;
    return true;
}

void PicturePainter::paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!decoded_) {
        decoded_ = true;
        decode(dc);
    }
    bool drawn = false;
    if (bitmap_) {
        RECT client;
        GetClientRect(window, &client);
        MemoryDc source(CreateCompatibleDC(dc));
        if (source) {
            ScopedSelect select(source.get(), bitmap_.get());
            SetStretchBltMode(dc, stretch_mode());
            SetBrushOrgEx(dc, 0, 0, nullptr);
            drawn = StretchBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, width_,
                               height_, SRCCOPY) != FALSE;
        }
    }
    if (!drawn) FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(window, &paint);
}

}  // namespace br
