#include "picture_window/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <limits>

// jpeglib.h expects the standard headers above it.
#include <jpeglib.h>

namespace br {
namespace {

// libjpeg's own error handler ends the process; this one jumps back instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void on_error(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void on_message(j_common_ptr) {}  // warnings are not shown anywhere

// Owns the decompressor for the length of one decode.
struct Decompressor {
    jpeg_decompress_struct info{};
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

// Everything with a destructor lives outside the setjmp frame, so the jump
// skips no C++ clean-up.
bool decode_into(Decompressor& decompressor, ErrorManager& errors, std::span<const std::uint8_t> data,
                 PixelDestination& destination) {
    jpeg_decompress_struct& info = decompressor.info;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = on_error;
    errors.base.output_message = on_message;
    if (setjmp(errors.escape)) return false;

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    if (info.output_components != kBytesPerPixel) return false;

    const PixelRows rows =
        destination.rows_for(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!rows.first) return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows.first + rows.stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // A truncated stream is padded by libjpeg with a warning; take it as broken.
    return errors.base.num_warnings == 0;
}

// Rows in an Image of its own.
class ImageDestination final : public PixelDestination {
public:
    explicit ImageDestination(Image& image) : image_(image) {}

    PixelRows rows_for(int width, int height) override {
        image_.width = width;
        image_.height = height;
        const std::size_t stride = static_cast<std::size_t>(width) * kBytesPerPixel;
        image_.pixels.resize(stride * static_cast<std::size_t>(height));
        return {image_.pixels.data(), stride};
    }

private:
    Image& image_;
};

}  // namespace

bool decode_jpeg(std::span<const std::uint8_t> data, PixelDestination& destination) {
    if (data.empty() || data.size() > std::numeric_limits<unsigned long>::max()) return false;
    Decompressor decompressor;
    ErrorManager errors{};
    return decode_into(decompressor, errors, data, destination);
}

std::optional<Image> decode_jpeg(std::span<const std::uint8_t> data) {
    Image image;
    ImageDestination destination(image);
    if (!decode_jpeg(data, destination)) return std::nullopt;
    return image;
}

}  // namespace br
