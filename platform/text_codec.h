#pragma once
// The program keeps its texts in GBK; Windows gets them as UTF-16 converted with
// code page 936 named explicitly, so they read correctly whatever the system's
// ANSI code page is.
#include <string>
#include <string_view>

namespace br {

inline constexpr unsigned kTextCodePage = 936;

std::wstring to_wide(std::string_view gbk);
std::string to_gbk(std::wstring_view wide);

}  // namespace br
