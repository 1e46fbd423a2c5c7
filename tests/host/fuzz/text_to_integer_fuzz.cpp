// Fuzzes the text-to-integer rule: it must take any bytes without a fault and
// agree with the plain reading below, which splits the text into characters
// first and parses afterwards, the long way round.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "main_window/interval.h"

namespace {

// The text as a list of characters: a single byte as itself, a double-byte
// character as lead * 256 + trail, the full-width forms and the ideographic
// space replaced by their ASCII equivalents.
std::vector<int> characters(const std::uint8_t* data, std::size_t size) {
    std::vector<int> out;
    std::size_t i = 0;
    while (i < size) {
        const int b = data[i];
        if (b >= 0x81 && b <= 0xFE && i + 1 < size) {
            out.push_back(b * 256 + data[i + 1]);
            i += 2;
        } else {
            out.push_back(b);
            i += 1;
        }
    }
    for (int& c : out) {
        if (c >= 0xA3A1 && c <= 0xA3FE) {
            c = c - 0xA3A1 + '!';
        } else if (c == 0xA1A1) {
            c = ' ';
        }
    }
    return out;
}

std::int32_t reference(const std::uint8_t* data, std::size_t size) {
    const std::vector<int> text = characters(data, size);
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    int sign = 1;
    if (i < text.size() && text[i] == '-') {
        sign = -1;
        ++i;
    } else if (i < text.size() && text[i] == '+') {
        ++i;
    }
    std::int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > 10000000000) {  // far past either bound; the rest cannot bring it back
            value = 10000000000;
        }
        ++i;
    }
    value *= sign;
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t got = br::text_to_integer(text);
    const std::int32_t expected = reference(data, size);
    if (got != expected) {
        std::fprintf(stderr, "text_to_integer gave %ld, expected %ld for %zu bytes:", static_cast<long>(got),
                     static_cast<long>(expected), size);
        for (std::size_t i = 0; i < size; ++i) {
            std::fprintf(stderr, " %02X", data[i]);
        }
        std::fprintf(stderr, "\n");
        std::abort();
    }
    return 0;
}
