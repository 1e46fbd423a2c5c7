#include "main_window/interval.h"

#include <cstddef>
#include <optional>
#include <string>

#include "main_window/control_names.h"
#include "main_window/gui.h"

// The GBK byte values below are written as numbers, not as literals, so that
// this file means the same whatever execution character set compiles it (the
// fuzz build uses a compiler that only knows UTF-8).

namespace br {
namespace {

// One character of a GBK text after folding: an ASCII (or other single) byte,
// or an unfoldable double-byte character as lead << 8 | trail. Double-byte
// values are all above 0xFF, so they never equal an ASCII character.
using Char = unsigned;

constexpr unsigned char kFirstLeadByte = 0x81;
constexpr unsigned char kLastLeadByte = 0xFE;
// Row 0xA3 holds the full-width forms of ASCII 0x21-0x7E at 0xA1-0xFE.
constexpr unsigned char kFullWidthRow = 0xA3;
constexpr unsigned char kFullWidthFirst = 0xA1;
constexpr unsigned char kFullWidthLast = 0xFE;
constexpr unsigned char kFullWidthToAscii = 0xA1 - 0x21;
// The ideographic space.
constexpr unsigned char kIdeographicSpaceLead = 0xA1;
constexpr unsigned char kIdeographicSpaceTrail = 0xA1;

// Reads a GBK text one character at a time, folding full-width forms to ASCII.
class FoldingReader {
public:
    explicit FoldingReader(std::string_view text) : text_(text) {}

    bool at_end() const { return pos_ >= text_.size(); }

    // The character at the reading position; only when not at_end().
    Char peek() const {
        const unsigned char lead = byte(pos_);
        if (!is_lead(lead) || pos_ + 1 >= text_.size()) {
            // A single-byte character, or a lead byte that ends the text and
            // so stands alone.
            return lead;
        }
        const unsigned char trail = byte(pos_ + 1);
        if (lead == kFullWidthRow && trail >= kFullWidthFirst && trail <= kFullWidthLast) {
            return static_cast<Char>(trail - kFullWidthToAscii);
        }
        if (lead == kIdeographicSpaceLead && trail == kIdeographicSpaceTrail) {
            return ' ';
        }
        return static_cast<Char>(lead) << 8 | trail;
    }

    void advance() {
        const bool double_byte = is_lead(byte(pos_)) && pos_ + 1 < text_.size();
        pos_ += double_byte ? 2 : 1;
    }

private:
    static bool is_lead(unsigned char b) { return b >= kFirstLeadByte && b <= kLastLeadByte; }
    unsigned char byte(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool is_white_space(Char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(Char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t text_to_integer(std::string_view gbk_text) {
    FoldingReader reader(gbk_text);
    while (!reader.at_end() && is_white_space(reader.peek())) {
        reader.advance();
    }
    bool negative = false;
    if (!reader.at_end() && (reader.peek() == '+' || reader.peek() == '-')) {
        negative = reader.peek() == '-';
        reader.advance();
    }
    // The magnitude saturates at 2^31, the largest any result needs, so it
    // never overflows however long the digit run is.
    constexpr std::int64_t kMagnitudeLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    while (!reader.at_end() && is_digit(reader.peek())) {
        magnitude = magnitude * 10 + static_cast<std::int64_t>(reader.peek() - '0');
        if (magnitude > kMagnitudeLimit) {
            magnitude = kMagnitudeLimit;
        }
        reader.advance();
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);  // -2^31 at the least
    }
    return static_cast<std::int32_t>(magnitude < kMagnitudeLimit ? magnitude : kMagnitudeLimit - 1);
}

std::int32_t read_reminder_interval(Gui& gui) {
    const std::optional<std::string> text = gui.read_text(names::编辑框1);
    return text_to_integer(text ? std::string_view(*text) : std::string_view());
}

}  // namespace br
