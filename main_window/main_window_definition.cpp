// The main window as data: its settings, then its controls in definition order,
// which is also their stacking order (the first on top).
#include "main_window/main_window_definition.h"

#include "main_window/control_names.h"
#include "main_window/handlers.h"
#include "main_window/reminder_cycle.h"
#include "main_window/texts.h"

namespace br {
namespace {

constexpr int kFont = -16;         // character height in pixels, without internal leading
constexpr int kTopLineFont = -14;  // 标签3
constexpr int kStockFont = 0;      // the start button uses DEFAULT_GUI_FONT

// clang-format off
constexpr ControlDefinition kControls[] = {
//   kind                  name           left  top  w    h    text                       visible disabled tab    order font          align              event
    {ControlKind::Button,   names::按钮1,   {111,  96, 88,  40}, texts::kStart,            true,  false,   true,  0,    kStockFont,   TextAlign::Centre, start_clicked},
    {ControlKind::Timer,    names::时钟1,   {0,    0,  0,   0},  "",                       false, false,   false, 0,    kStockFont,   TextAlign::Left,   reminder_cycle},
    {ControlKind::Label,    names::标签3,   {31,   6,  248, 32}, texts::kTopLine,          true,  false,   false, 0,    kTopLineFont, TextAlign::Centre, nullptr},
    {ControlKind::CheckBox, names::图片,    {109, 150, 186, 32}, texts::kPictureMode,      true,  false,   true,  0,    kFont,        TextAlign::Left,   picture_clicked},
    {ControlKind::CheckBox, names::睡眠,    {12,  149, 104, 32}, texts::kSleepMode,        true,  false,   true,  0,    kFont,        TextAlign::Left,   sleep_clicked},
    {ControlKind::Label,    names::标签2,   {150,  53, 101, 24}, texts::kMinutesLine,      true,  false,   false, 0,    kFont,        TextAlign::Left,   nullptr},
    {ControlKind::Edit,     names::编辑框1, {85,   54, 56,  24}, texts::kDefaultInterval, true,  false,   true,  0,    kFont,        TextAlign::Right,  nullptr},
    {ControlKind::Label,    names::标签1,   {61,   53, 24,  24}, texts::kEvery,            true,  false,   false, 0,    kFont,        TextAlign::Left,   nullptr},
};
// clang-format on

}  // namespace

const WindowDefinition kMainWindow = {
    .title = "",
    .frame = Frame::FixedCaption,
    .width = 316,
    .height = 217,
    .always_on_top = false,
    .esc_closes = false,
    .picture = {},
    .controls = kControls,
};

}  // namespace br
