#pragma once
// Decoding of the exercise picture (a baseline JPEG held in memory) with libjpeg.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace br {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes a pixel: R, G, B
};

// Nothing when the data is empty, truncated or not a JPEG libjpeg can read.
std::optional<RgbImage> decode_jpeg(std::span<const std::uint8_t> data);

}  // namespace br
