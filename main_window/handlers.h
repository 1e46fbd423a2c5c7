#pragma once
// The handlers of the main window's clicked events.

namespace br {

class Gui;

// The shortest reminder interval the start button accepts, in minutes.
inline constexpr int kShortestInterval = 10;

// 按钮1: checks the interval, arms 时钟1 and locks the controls for the run.
void start_clicked(Gui& gui);
// 图片 and 睡眠: at most one rest mode; a second one is refused and undone.
void picture_clicked(Gui& gui);
void sleep_clicked(Gui& gui);

}  // namespace br
