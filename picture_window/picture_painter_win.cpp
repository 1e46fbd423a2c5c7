#include "picture_window/picture_painter_win.h"

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

// The decoder writes straight into the bits of a top-down 32-bit DIB section.
class DibDestination final : public PixelDestination {
public:
    explicit DibDestination(HDC reference) : reference_(reference) {}

    PixelRows rows_for(int width, int height) override {
        width_ = width;
        height_ = height;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 8 * kBytesPerPixel;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = Bitmap(CreateDIBSection(reference_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap_ || !bits) return {};
        // Rows of 32-bit pixels need no padding.
        return {static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * kBytesPerPixel};
    }

    Bitmap take() { return std::move(bitmap_); }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HDC reference_;
    Bitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

bool PicturePainter::decode(HDC reference) {
    DibDestination destination(reference);
    if (!decode_jpeg(source_, destination)) return false;
    bitmap_ = destination.take();
    width_ = destination.width();
    height_ = destination.height();
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
