#include "platform/text_codec.h"

#include <windows.h>

#include <climits>

namespace br {

std::wstring to_wide(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) return {};
    const int size = static_cast<int>(gbk.size());
    const int length = MultiByteToWideChar(kTextCodePage, 0, gbk.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, gbk.data(), size, wide.data(), length);
    return wide;
}

std::string to_gbk(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, gbk.data(), length, nullptr, nullptr);
    return gbk;
}

}  // namespace br
