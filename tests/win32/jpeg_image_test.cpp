// The picture decoder on the embedded exercise picture and on broken data.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "picture_window/jpeg_image.h"
#include "picture_window/picture_window_definition.h"

namespace br {
namespace {

std::vector<std::uint8_t> picture() {
    const auto bytes = kPictureWindow.picture;
    return {bytes.begin(), bytes.end()};
}

TEST(JpegImage, DecodesTheExercisePictureToRowsOf32BitPixels) {
    const auto image = decode_jpeg(kPictureWindow.picture);
    ASSERT_TRUE(image) << "the embedded picture did not decode";
    EXPECT_EQ(image->width, 518);
    EXPECT_EQ(image->height, 339);
    ASSERT_EQ(image->pixels.size(), 518u * 339u * 4u);
    // The page is white: the top-left corner and the middle of the left edge.
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{1, 170}}) {
        EXPECT_GT(image->red(x, y), 235) << "red at " << x << "," << y;
        EXPECT_GT(image->green(x, y), 235) << "green at " << x << "," << y;
        EXPECT_GT(image->blue(x, y), 235) << "blue at " << x << "," << y;
    }
}

TEST(JpegImage, BrokenDataGivesNoPicture) {
    const auto whole = picture();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> data;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"header only", {whole.begin(), whole.begin() + 2}},
        {"truncated to half", {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)}},
        {"not a JPEG", std::vector<std::uint8_t>(1000, 0x5A)},
    };
    auto corrupt = whole;
    for (std::size_t i = 20; i < 600; ++i) corrupt[i] = static_cast<std::uint8_t>(i * 7);
    cases.push_back({"corrupt headers", corrupt});

    for (const auto& c : cases) {
        EXPECT_FALSE(decode_jpeg(c.data)) << c.what << " decoded to a picture";
    }
}

}  // namespace
}  // namespace br
