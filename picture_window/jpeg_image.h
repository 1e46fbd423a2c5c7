#pragma once
// Decoding of the exercise picture (a baseline JPEG held in memory) with libjpeg.
//
// Pixels come out as a 32-bit DIB holds them: rows top to bottom, 4 bytes a
// pixel in the order blue, green, red, unused. That is also the layout of the
// screen, so the picture can be decoded straight into the bitmap that is drawn,
// with no copy and no conversion on the way.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace br {

inline constexpr int kBytesPerPixel = 4;

struct PixelRows {
    std::uint8_t* first = nullptr;  // nothing: there is no room for the picture
    std::size_t stride = 0;         // bytes from the start of one row to the next
};

// Where the decoder writes, asked once the picture's size is known.
class PixelDestination {
public:
    virtual PixelRows rows_for(int width, int height) = 0;

protected:
    ~PixelDestination() = default;
};

// False when the data is empty, truncated or not a JPEG libjpeg can read; the
// rows then hold nothing of use.
bool decode_jpeg(std::span<const std::uint8_t> data, PixelDestination& destination);

// A decoded picture held in memory.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width × height pixels, no padding

    std::uint8_t red(int x, int y) const { return at(x, y)[2]; }
    std::uint8_t green(int x, int y) const { return at(x, y)[1]; }
    std::uint8_t blue(int x, int y) const { return at(x, y)[0]; }

private:
    const std::uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                       kBytesPerPixel];
    }
};

// Nothing when the data cannot be decoded.
std::optional<Image> decode_jpeg(std::span<const std::uint8_t> data);

}  // namespace br
