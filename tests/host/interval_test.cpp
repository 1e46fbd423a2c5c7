// The reminder interval: text of 编辑框1 to whole minutes, minutes to milliseconds.
#include "main_window/interval.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fake_gui.h"

namespace br {
namespace {

// The readable cases below rely on the sources' texts being stored as GBK:
// "３" is two bytes in GBK and three in UTF-8.
static_assert(sizeof("３") == 3, "string literals must be compiled to GBK (-fexec-charset=GBK)");

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Shows every byte outside printable ASCII as \xNN, so a failing GBK case
// can be read in the log.
std::string escaped(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"') {
            out += ch;
        } else {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return out + "\"";
}

struct TextCase {
    std::string_view text;
    std::int32_t expected;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << escaped(c.text) << " -> " << c.expected; }

class TextToInteger : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToInteger, GivesTheNumberTheTextStartsWith) {
    const TextCase& c = GetParam();
    EXPECT_EQ(text_to_integer(c.text), c.expected) << "for the text " << escaped(c.text);
}

// Plain ASCII texts: white space, sign, digit run, and whatever follows.
INSTANTIATE_TEST_SUITE_P(Ascii, TextToInteger,
                         ::testing::Values(TextCase{"30", 30},
                                           TextCase{" 30", 30},
                                           TextCase{"\t\n\v\f\r 30", 30},
                                           TextCase{"+30", 30},
                                           TextCase{"30.5", 30},
                                           TextCase{"30abc", 30},
                                           TextCase{"1 0", 1},
                                           TextCase{"5-3", 5},
                                           TextCase{"-30", -30},
                                           TextCase{"-0", 0},
                                           TextCase{"- 30", 0},
                                           TextCase{"--5", 0},
                                           TextCase{"+-5", 0},
                                           TextCase{"abc", 0},
                                           TextCase{"0x20", 0},
                                           TextCase{"007", 7},
                                           TextCase{"", 0},
                                           TextCase{"   ", 0},
                                           TextCase{"-", 0}));

// Full-width forms fold to ASCII one character at a time; a double-byte
// character is taken whole even when its second byte looks like ASCII.
INSTANTIATE_TEST_SUITE_P(Gbk, TextToInteger,
                         ::testing::Values(TextCase{"　30", 30},
                                           TextCase{"　　－３０", -30},
                                           TextCase{"３０", 30},
                                           TextCase{"＋３０", 30},
                                           TextCase{"－３０", -30},
                                           TextCase{"3０", 30},
                                           TextCase{"３0分钟", 30},
                                           TextCase{"－ ３０", 0},
                                           TextCase{"分钟30", 0},
                                           // A full-width character that is no digit ends the run.
                                           TextCase{"３．５", 3},
                                           // 0x81 0x30 is one character, not a digit 0.
                                           TextCase{"\x81\x30" "5", 0},
                                           TextCase{"3\x81\x30", 3},
                                           TextCase{"\x81-5", 0},
                                           TextCase{"\x81 5", 0},
                                           TextCase{"\x81+5", 0},
                                           // The second byte 0xA3 does not start "３" (0xA3 0xB3).
                                           TextCase{"\x81\xA3\xB3", 0},
                                           TextCase{"5\x81\xA3\xB3", 5},
                                           // 0xA3 0xA3 is full-width '#', then a lone 0xB3.
                                           TextCase{"\xA3\xA3\xB3", 0},
                                           // Just outside the full-width row's range: not '!' or '~'+1.
                                           TextCase{"\xA3\xA0" "5", 0},
                                           TextCase{"\xA3\xFF" "5", 0},
                                           // A lead byte that ends the text is a character of its own.
                                           TextCase{"3\x81", 3},
                                           TextCase{"\xA3", 0},
                                           TextCase{"-\xA3", 0}));

// Digit runs beyond the signed 32-bit range saturate instead of wrapping.
INSTANTIATE_TEST_SUITE_P(Saturation, TextToInteger,
                         ::testing::Values(TextCase{"2147483647", kMax},
                                           TextCase{"2147483648", kMax},
                                           TextCase{"4294967306", kMax},
                                           TextCase{"99999999999999999999999999", kMax},
                                           TextCase{"-2147483647", kMin + 1},
                                           TextCase{"-2147483648", kMin},
                                           TextCase{"-2147483649", kMin},
                                           TextCase{"-4294967296", kMin},
                                           TextCase{"-99999999999999999999999999", kMin},
                                           TextCase{"00000000000000000000000000042", 42},
                                           TextCase{"２１４７４８３６４８", kMax},
                                           TextCase{"－２１４７４８３６４９", kMin}));

struct PeriodCase {
    std::int32_t minutes;
    std::int64_t milliseconds;
};

TEST(PeriodForMinutes, IsExactForEveryThirtyTwoBitMinuteCount) {
    const PeriodCase cases[] = {
        {0, 0},
        {1, 60000},
        {10, 600000},
        {30, 1800000},
        {35791, 2147460000},
        {kMax, 128849018820000},
        {-1, -60000},
        {kMin, -128849018880000},
    };
    for (const PeriodCase& c : cases) {
        EXPECT_EQ(period_for_minutes(c.minutes), c.milliseconds) << "for " << c.minutes << " minutes";
    }
}

struct BoxCase {
    std::optional<std::string> text;
    std::int32_t expected;
};

TEST(ReadReminderInterval, AppliesTheRuleToTheTextOfTheIntervalBox) {
    const BoxCase cases[] = {
        {std::nullopt, 0},
        {std::string(), 0},
        {" 45", 45},
        {"－３０", -30},
        {"9999999999", kMax},
    };
    for (const BoxCase& c : cases) {
        const std::string shown = c.text ? escaped(*c.text) : "no text";
        fake::FakeGui gui;
        gui.edit_text = c.text;
        EXPECT_EQ(read_reminder_interval(gui), c.expected) << "for " << shown;
        EXPECT_TRUE(fake::SameOperations(gui.operations, {"read_text edit"}))
            << "for " << shown << ": exactly one read, of 编辑框1";
    }
}

}  // namespace
}  // namespace br
