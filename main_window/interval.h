#pragma once
// The reminder interval: how the text of 编辑框1 becomes whole minutes, and
// how minutes become the timer period of 时钟1.
#include <cstdint>
#include <string_view>

namespace br {

class Gui;

// Text-to-integer rule on a GBK text. Never fails: folds full-width digits,
// signs and the ideographic space to ASCII, skips leading white space, takes
// one optional sign and the digit run after it, and ignores the rest. A digit
// run beyond the signed 32-bit range saturates at INT32_MAX (INT32_MIN with '-').
std::int32_t text_to_integer(std::string_view gbk_text);

// Reads the text of 编辑框1 and applies the text-to-integer rule.
std::int32_t read_reminder_interval(Gui& gui);

// Period rule: N minutes as milliseconds, exact for every 32-bit N.
constexpr std::int64_t period_for_minutes(std::int32_t minutes) {
    return std::int64_t{minutes} * 60000;
}

}  // namespace br
