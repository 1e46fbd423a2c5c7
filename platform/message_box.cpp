#include "platform/message_box.h"

#include "platform/text_codec.h"

namespace br {

BoxResult show_message_box(std::string_view text, Buttons buttons, std::string_view title,
                           HWND owner) {
    const UINT style = (buttons == Buttons::OkCancel ? MB_OKCANCEL : MB_OK) | MB_TASKMODAL;
    const int answer = MessageBoxW(owner, to_wide(text).c_str(), to_wide(title).c_str(), style);
    return answer == IDOK || answer == 0 ? BoxResult::Ok : BoxResult::Cancel;
}

}  // namespace br
