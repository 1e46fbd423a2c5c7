// The picture window as the user meets it after answering the neck-exercise
// question with OK: place, frame, owner, what it shows, and closing with Esc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "picture_window/jpeg_image.h"
#include "picture_window/picture_window_definition.h"
#include "tests/e2e/program.h"

namespace e2e {
namespace {

using drv::info;

constexpr int kWidth = 1080;
constexpr int kHeight = 762;

std::string rect_text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

// One reminder answered with OK: waits for the picture window it opens.
HWND open_picture_window(const Program& program) {
    program.tick();
    const auto box = program.wait_box(kPictureQuestion);
    EXPECT_EQ(box.title, L"提醒");
    program.answer(box, IDOK);
    return program.wait_picture_window("the picture window after OK to the question");
}

void close_with_esc(const Program& program, HWND picture) {
    drv::send_keys(picture, {drv::kEsc});
    drv::wait_gone(picture, drv::kDefaultTimeout, "Esc to close the picture window");
    drv::wait_until([&] { return IsWindowEnabled(program.main()) != FALSE; }, drv::kDefaultTimeout,
                    "the main window enabled again after the picture window closed");
}

// Runs at every screen size: centred by truncating division, so on small
// screens it juts out past the edges.
TEST(AllScreens, PictureWindowIsCentredFramelessOnTopAndEscClosesIt) {
    Program program;
    const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    const std::map<std::pair<int, int>, POINT> known = {
        {{1920, 1080}, {420, 159}}, {{1366, 768}, {143, 3}}, {{1024, 768}, {-28, 3}}, {{800, 600}, {-140, -81}}};
    const auto expected = known.find({screen_w, screen_h});
    ASSERT_NE(expected, known.end()) << "screen " << screen_w << "x" << screen_h << " is not one of the tested sizes";

    program.start_in_mode(program.picture_box());
    HWND picture = open_picture_window(program);
    const auto window = info(picture);
    const POINT at = expected->second;
    EXPECT_EQ(rect_text(window.rect), rect_text({at.x, at.y, at.x + kWidth, at.y + kHeight}))
        << "on a " << screen_w << "x" << screen_h << " screen";
    EXPECT_EQ(rect_text(window.client), rect_text({0, 0, kWidth, kHeight})) << "the whole window is client area";
    EXPECT_EQ(window.style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0)
        << "frame styles " << std::hex << window.style;
    EXPECT_TRUE(window.topmost) << "exstyle " << std::hex << window.exstyle;
    EXPECT_EQ(window.exstyle & WS_EX_APPWINDOW, 0) << "it would get a taskbar button";
    EXPECT_EQ(window.text, L"");
    ASSERT_NE(window.owner, nullptr) << "the picture window has no owner";
    EXPECT_NE(window.owner, program.main()) << "owned by the main window";
    EXPECT_FALSE(IsWindowVisible(window.owner)) << "its owner is shown: " << info(window.owner).describe();
    EXPECT_FALSE(IsWindowEnabled(program.main())) << "the main window takes input while the picture is open";

    close_with_esc(program, picture);
    EXPECT_TRUE(drv::message_boxes(program.pid()).empty()) << drv::describe_windows(program.pid());
    EXPECT_EQ(program.close_and_wait(), 0u);
}

// Waits until the program has handled all input queued for `window`: the
// window is invalidated, and a window is painted only once its thread has no
// input or posted messages waiting.
void wait_input_handled(HWND window, std::string_view what) {
    InvalidateRect(window, nullptr, FALSE);
    drv::wait_until([&] { return !IsWindow(window) || !GetUpdateRect(window, nullptr, FALSE); },
                    drv::kDefaultTimeout, "the window repainted after " + std::string(what),
                    [&] { return info(window).describe() + ", update region still pending"; });
}

// A chord with a modifier held is not Esc: the window stays open.
TEST(PictureWindow, EscWithCtrlShiftOrAltLeavesItOpen) {
    Program program;
    program.start_in_mode(program.picture_box());
    HWND picture = open_picture_window(program);

    struct Chord {
        const char* name;
        drv::Key key;
    };
    const Chord chords[] = {
        {"Ctrl+Esc", drv::kCtrlEsc},
        {"Shift+Esc", drv::kShiftEsc},
        {"Alt+Esc", drv::kAltEsc},
    };
    for (const auto& chord : chords) {
        drv::send_keys(picture, {chord.key});
        wait_input_handled(picture, chord.name);
        EXPECT_TRUE(IsWindow(picture) && IsWindowVisible(picture)) << chord.name << " closed the picture window";
        EXPECT_FALSE(IsWindowEnabled(program.main())) << "the main window enabled after " << chord.name;
        if (!IsWindow(picture)) return;
    }
    close_with_esc(program, picture);
}

TEST(PictureWindow, OpensAgainAsANewWindowInTheSamePlace) {
    Program program;
    program.start_in_mode(program.picture_box());
    HWND first = open_picture_window(program);
    const RECT first_rect = info(first).rect;
    close_with_esc(program, first);

    HWND second = open_picture_window(program);
    EXPECT_NE(second, first) << "the same window was shown again";
    EXPECT_FALSE(IsWindow(first)) << "the first window was hidden, not destroyed";
    EXPECT_EQ(rect_text(info(second).rect), rect_text(first_rect));
    EXPECT_TRUE(info(second).topmost);
    EXPECT_FALSE(IsWindowEnabled(program.main()));
    close_with_esc(program, second);
}

// A taskbar button brings its window to the foreground. The main window,
// disabled while the picture is open, hands that activation on to the picture.
TEST(PictureWindow, ActivatingTheDisabledMainWindowActivatesThePictureWindow) {
    Program program;
    program.start_in_mode(program.picture_box());
    HWND picture = open_picture_window(program);
    // Another program is in the foreground when the user clicks the button.
    HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    drv::bring_to_foreground(other);

    SetForegroundWindow(program.main());
    drv::wait_until(
        [&] { return GetForegroundWindow() == picture && drv::gui_state(picture).active == picture; },
        drv::kDefaultTimeout, "the picture window active after the main window was brought forward",
        [&] {
            HWND foreground = GetForegroundWindow();
            return "foreground " + (foreground ? info(foreground).describe() : std::string("none"));
        });
    EXPECT_FALSE(IsWindowEnabled(program.main()));
    DestroyWindow(other);
    close_with_esc(program, picture);
}

// --- what the window shows -------------------------------------------------

int channel_gap(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// The decoded exercise picture, read as the window stretches it.
class Picture {
public:
    explicit Picture(br::Image image) : image_(std::move(image)) {}
    int width() const { return image_.width; }
    int height() const { return image_.height; }
    COLORREF at(int x, int y) const { return RGB(image_.red(x, y), image_.green(x, y), image_.blue(x, y)); }
    // The source pixels around the one a window pixel is stretched from:
    // any smoothing of the stretch mixes only these.
    struct Range {
        int low[3] = {255, 255, 255};
        int high[3] = {0, 0, 0};
        bool holds(COLORREF c, int tolerance) const {
            const int v[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
            for (int i = 0; i < 3; ++i) {
                if (v[i] < low[i] - tolerance || v[i] > high[i] + tolerance) return false;
            }
            return true;
        }
        // Every pixel around is well away from white in some channel: a
        // blank or white window fails here.
        bool coloured() const { return std::min({high[0], high[1], high[2]}) < 220; }
        std::string describe() const {
            return drv::describe_colour(RGB(low[0], low[1], low[2])) + ".." +
                   drv::describe_colour(RGB(high[0], high[1], high[2]));
        }
    };
    Range around(int window_x, int window_y) const {
        const int cx = (2 * window_x + 1) * width() / (2 * kWidth);
        const int cy = (2 * window_y + 1) * height() / (2 * kHeight);
        Range range;
        for (int y = std::max(0, cy - 1); y <= std::min(height() - 1, cy + 1); ++y) {
            for (int x = std::max(0, cx - 1); x <= std::min(width() - 1, cx + 1); ++x) {
                const COLORREF c = at(x, y);
                const int v[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
                for (int i = 0; i < 3; ++i) {
                    range.low[i] = std::min(range.low[i], v[i]);
                    range.high[i] = std::max(range.high[i], v[i]);
                }
            }
        }
        return range;
    }

private:
    br::Image image_;
};

// The window points to compare: every pixel of the four edges and a grid inside.
std::vector<POINT> sample_points() {
    std::vector<POINT> points;
    for (int x = 0; x < kWidth; ++x) points.insert(points.end(), {{x, 0}, {x, kHeight - 1}});
    for (int y = 1; y < kHeight - 1; ++y) points.insert(points.end(), {{0, y}, {kWidth - 1, y}});
    for (int y = 3; y < kHeight; y += 7) {
        for (int x = 3; x < kWidth; x += 7) points.push_back({x, y});
    }
    return points;
}

struct Comparison {
    int checked = 0;
    int coloured = 0;  // checked points where the picture is far from white
    std::vector<std::string> mismatches;
};

constexpr int kTolerance = 3;

Comparison compare(const drv::Screenshot& shot, const RECT& window, const Picture& picture,
                   const std::vector<POINT>& points) {
    Comparison result;
    for (const POINT p : points) {
        const POINT screen{window.left + p.x, window.top + p.y};
        const POINT o = shot.origin();
        if (screen.x < o.x || screen.y < o.y || screen.x >= o.x + shot.width() || screen.y >= o.y + shot.height())
            continue;  // off the screen
        const auto range = picture.around(p.x, p.y);
        const COLORREF seen = shot.screen_pixel(screen);
        ++result.checked;
        if (range.coloured()) ++result.coloured;
        if (!range.holds(seen, kTolerance) && result.mismatches.size() < 8) {
            result.mismatches.push_back("(" + std::to_string(p.x) + "," + std::to_string(p.y) + ") shows " +
                                        drv::describe_colour(seen) + ", the picture there " + range.describe());
        }
    }
    return result;
}

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += "  " + line + "\n";
    return text;
}

TEST(PictureWindow, ShowsTheExercisePictureStretchedOverItsWholeArea) {
    auto decoded = br::decode_jpeg(br::kPictureWindow.picture);
    ASSERT_TRUE(decoded) << "the exercise picture inside the program does not decode";
    const Picture picture(std::move(*decoded));
    // The picture is white at its edges: the check there tells it from the
    // background colour only when that is not white as well.
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    ASSERT_GT(channel_gap(background, RGB(255, 255, 255)), kTolerance)
        << "COLOR_BTNFACE " << drv::describe_colour(background) << " cannot be told from white";

    Program program;
    program.start_in_mode(program.picture_box());
    HWND window = open_picture_window(program);
    const RECT rect = info(window).rect;
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    ASSERT_TRUE(IntersectRect(&visible, &rect, &screen)) << "the window lies off the screen: " << rect_text(rect);

    const auto points = sample_points();
    Comparison last;
    // Painting happens some time after the window shows: wait for the picture.
    drv::wait_until(
        [&] {
            last = compare(drv::screenshot(visible), rect, picture, points);
            return last.mismatches.empty();
        },
        drv::kDefaultTimeout, "the window to show the stretched exercise picture at every checked point",
        [&] { return std::to_string(last.checked) + " points checked, mismatches:\n" + join(last.mismatches); });
    // The comparison would also have failed on a blank window.
    EXPECT_GT(last.coloured, 1000) << "too few coloured points among " << last.checked;
    if (EqualRect(&visible, &rect)) {
        EXPECT_EQ(last.checked, static_cast<int>(points.size())) << "points left out";
    }
    close_with_esc(program, window);
}

}  // namespace
}  // namespace e2e
