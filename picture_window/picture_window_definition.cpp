#include "picture_window/picture_window_definition.h"

#include <cstddef>
#include <cstdint>

namespace br {

// The exercise picture, compiled in from assets/exercise.jpg.
extern const std::uint8_t kExercisePicture[];
extern const std::size_t kExercisePicture_size;

const WindowDefinition kPictureWindow = {
    .title = "",
    .frame = Frame::None,
    .width = 1080,
    .height = 762,
    .always_on_top = true,
    .esc_closes = true,
    .picture = {kExercisePicture, kExercisePicture_size},
    .controls = {},
};

}  // namespace br
