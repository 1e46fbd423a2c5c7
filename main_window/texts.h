#pragma once
// Every text the user reads, in one place. Written in UTF-8 here and stored as
// GBK in the program; punctuation is part of the text ("!" and "！" differ).

namespace br::texts {

// Main window.
inline constexpr char kTopLine[] = "开始按钮按下开始计时，无停止按钮";
inline constexpr char kEvery[] = "每";
inline constexpr char kDefaultInterval[] = "30";
inline constexpr char kMinutesLine[] = "分钟提醒一次";
inline constexpr char kStart[] = "开始";
inline constexpr char kPictureMode[] = "是否播放活动颈椎图片";
inline constexpr char kSleepMode[] = "是否睡眠";

// Refusals of the user's input.
inline constexpr char kRefusalTitle[] = "提示";
inline constexpr char kIntervalTooShort[] = "至少10分钟休息一次哦";
inline constexpr char kOnlyOneRestMode[] = "只能选择一个休息方式哦";

// Reminders.
inline constexpr char kReminderTitle[] = "提醒";
inline constexpr char kPictureQuestion[] = "活动活动颈椎吧!";
inline constexpr char kPictureDeclined[] = "下次一定要休息一下哦";
inline constexpr char kPlainAfterInterval[] = "分钟到了，休息一下吧！";
inline constexpr char kSleepAfterInterval[] = "分钟到了，站起来活动一下吧！";
inline constexpr char kSleepDeclinedBefore[] = "那么再过";
inline constexpr char kSleepDeclinedAfter[] = "分钟再休息吧！";

// The fatal error report.
inline constexpr char kFatalTitle[] = "休息提醒";
inline constexpr char kFatalHeading[] = "运行时错误";
inline constexpr char kFatalCode[] = "错误代码：";
inline constexpr char kMainWindowFailed[] = "启动窗口载入失败";
inline constexpr char kOutOfMemoryBefore[] = "内存不足，无法分配";
inline constexpr char kOutOfMemoryAfter[] = "字节";
inline constexpr char kFunctionMissingBefore[] = "在库文件“";
inline constexpr char kFunctionMissingMiddle[] = "”中找不到输出函数“";
inline constexpr char kFunctionMissingAfter[] = "”";

}  // namespace br::texts
