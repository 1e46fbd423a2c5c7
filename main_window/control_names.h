#pragma once
// The names by which the handlers reach the main window's controls.

namespace br::names {

inline constexpr const char 编辑框1[] = "编辑框1";
inline constexpr const char 按钮1[] = "按钮1";
inline constexpr const char 时钟1[] = "时钟1";
inline constexpr const char 图片[] = "图片";
inline constexpr const char 睡眠[] = "睡眠";
inline constexpr const char 标签1[] = "标签1";
inline constexpr const char 标签2[] = "标签2";
inline constexpr const char 标签3[] = "标签3";

}  // namespace br::names
