#pragma once
// An in-memory main window for host tests of the handlers and the reminder cycle.
//
// FakeGui keeps the controls' state by name, records every GUI operation in
// order as one line of text, answers the OK/Cancel boxes from a scripted queue,
// and can run an action while a given box or the picture window is open: that
// is how a test delivers a timer tick inside a modal loop. Its hibernate()
// goes through the real HibernateCall over FakePower, which records the
// library calls in the same list.
//
// Lines name the controls by ASCII tags (edit, button, timer, picture, sleep)
// and keep texts and titles as the GBK bytes the program passes, so a test
// writes the expected lines as literals (also compiled to GBK). SameOperations
// prints both lists as UTF-8 when they differ.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "main_window/control_names.h"
#include "main_window/gui.h"
#include "main_window/hibernate.h"

namespace br::fake {

inline std::string hex(std::uintmax_t value) {
    char buffer[2 + 2 * sizeof value + 1];
    std::snprintf(buffer, sizeof buffer, "0x%jX", value);
    return buffer;
}

// A GBK text as UTF-8, for failure messages; a byte that is no GBK character
// is shown as \xNN.
inline std::string readable(std::string_view gbk) {
    std::string out;
    std::string in(gbk);
    char* src = in.data();
    std::size_t left = in.size();
    const iconv_t converter = iconv_open("UTF-8", "GBK");
    const bool can_convert = converter != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
    while (left > 0) {
        if (can_convert) {
            char buffer[256];
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t result = iconv(converter, &src, &left, &dst, &room);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        }
        if (left == 0) break;
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(*src));
        out += escape;
        ++src;
        --left;
    }
    if (can_convert) iconv_close(converter);
    return out;
}

// Compares the recorded operations with the expected ones; on a difference it
// lists both, numbered, and marks the first line that differs.
inline ::testing::AssertionResult SameOperations(const std::vector<std::string>& seen,
                                                 const std::vector<std::string>& expected) {
    if (seen == expected) return ::testing::AssertionSuccess();
    std::size_t first = 0;
    while (first < seen.size() && first < expected.size() && seen[first] == expected[first]) ++first;
    const auto list = [first](const std::vector<std::string>& lines) {
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out += (i == first ? "  >" : "   ") + std::to_string(i + 1) + ". " + readable(lines[i]) + "\n";
        }
        if (lines.size() == first) out += "  >(ends here)\n";
        return out;
    };
    return ::testing::AssertionFailure() << "the operations differ at line " << first + 1
                                         << "\nexpected:\n" << list(expected) << "saw:\n" << list(seen);
}

// The ASCII tag under which a control appears in the recorded operations.
inline std::string control_tag(std::string_view name) {
    static const std::pair<std::string_view, const char*> kTags[] = {
        {names::编辑框1, "edit"},  {names::按钮1, "button"},  {names::时钟1, "timer"},
        {names::图片, "picture"},  {names::睡眠, "sleep"},    {names::标签1, "label1"},
        {names::标签2, "label2"},  {names::标签3, "label3"},
    };
    for (const auto& [known, tag] : kTags) {
        if (name == known) return tag;
    }
    return "unknown control " + std::string(name);
}

// What gui.fatal_error throws, so that a test can catch the end of the program.
struct FatalError : std::runtime_error {
    FatalError(std::string_view text, std::uint32_t error_code)
        : std::runtime_error("fatal error " + std::to_string(error_code) + ": " + readable(text)),
          message(text),
          code(error_code) {}
    std::string message;  // GBK, as the program passed it
    std::uint32_t code;
};

// LoadLibrary / GetProcAddress / FreeLibrary / SetSuspendState in memory.
// Either the library or the function can be made missing; freeing a library
// that is not loaded is a test failure (a double free).
class FakePower final : public PowerManagement {
public:
    static constexpr Library kLibrary = 0x7000;
    static constexpr Function kFunction = 0x7100;
    static constexpr std::uint32_t kModuleNotFound = 126;     // ERROR_MOD_NOT_FOUND
    static constexpr std::uint32_t kProcedureNotFound = 127;  // ERROR_PROC_NOT_FOUND

    bool library_present = true;
    bool function_present = true;

    explicit FakePower(std::vector<std::string>& operations) : operations_(operations) {}

    Library load_system_library(const char* file) override {
        operations_.push_back("load_system_library " + std::string(file));
        if (!library_present) {
            last_error_ = kModuleNotFound;
            return 0;
        }
        ++loaded_;
        return kLibrary;
    }

    Function find_function(Library library, const char* name) override {
        operations_.push_back("find_function " + library_name(library) + " " + name);
        if (library != kLibrary || loaded_ == 0 || !function_present) {
            last_error_ = kProcedureNotFound;
            return 0;
        }
        return kFunction;
    }

    void free_library(Library library) override {
        operations_.push_back("free_library " + library_name(library));
        if (library != kLibrary || loaded_ == 0) {
            ADD_FAILURE() << "free_library(" << hex(library) << ") of a library that is not loaded";
            return;
        }
        --loaded_;
    }

    void set_suspend_state(Function function, std::uint32_t hibernate, std::uint32_t force,
                           std::uint32_t wake_events_disabled) override {
        operations_.push_back("set_suspend_state " +
                              (function == kFunction ? std::string("SetSuspendState") : hex(function)) +
                              " " + std::to_string(hibernate) + " " + std::to_string(force) + " " +
                              std::to_string(wake_events_disabled));
    }

    std::uint32_t last_error() override { return last_error_; }

    // How many loads of the library have not been freed yet.
    int loaded() const { return loaded_; }

private:
    static std::string library_name(Library library) {
        return library == kLibrary ? "Powrprof.dll" : hex(library);
    }

    std::vector<std::string>& operations_;
    int loaded_ = 0;
    std::uint32_t last_error_ = 0;
};

class FakeGui final : public Gui {
public:
    // The controls as the main window starts: "30" in the edit box, both check
    // boxes unticked, the timer stopped, every control visible and enabled.
    std::optional<std::string> edit_text = "30";
    std::map<std::string, int, std::less<>> ticks{{names::图片, 0}, {names::睡眠, 0}};
    std::set<std::string, std::less<>> hidden;
    std::set<std::string, std::less<>> disabled;
    std::int64_t timer_period = 0;
    bool always_on_top = false;
    NativeHandle main_window = 0x1234;
    bool picture_window_open = false;
    int picture_windows_opened = 0;
    // The timer period at the moment each box opened, in the order they opened.
    std::vector<std::int64_t> timer_period_at_boxes;

    // Every operation in the order it was made, one line each.
    std::vector<std::string> operations;
    FakePower power{operations};
    HibernateCall hibernate_call{power};

    FakeGui() = default;
    FakeGui(const FakeGui&) = delete;
    FakeGui& operator=(const FakeGui&) = delete;

    // The user's answers to the OK/Cancel boxes, in the order the user closes
    // them (the innermost of nested boxes first). An OK-only box takes no answer:
    // OK, Enter, Esc and its close box all give OK.
    void answer_questions(std::initializer_list<BoxResult> answers) {
        answers_.insert(answers_.end(), answers);
    }
    // Runs `action` while the box with this number (0 for the first box shown)
    // is open, before the user answers it.
    void while_box_open(int box, std::function<void()> action) { box_actions_[box] = std::move(action); }
    // Runs `action` while the picture window opened with this number (0 for the
    // first opening) is open, before the user closes it.
    void while_picture_window_open(int opening, std::function<void()> action) {
        picture_actions_[opening] = std::move(action);
    }

    int tick(std::string_view control) const {
        const auto found = ticks.find(control);
        return found == ticks.end() ? 0 : found->second;
    }

    std::optional<std::string> read_text(std::string_view control) override {
        record("read_text " + control_tag(control));
        return control == names::编辑框1 ? edit_text : std::nullopt;
    }

    int read_tick(std::string_view control) override {
        record("read_tick " + control_tag(control));
        return tick(control);
    }

    void write_tick(std::string_view control, int value) override {
        record("write_tick " + control_tag(control) + " " + std::to_string(value));
        ticks[std::string(control)] = value == 1 ? 1 : 0;
    }

    void hide(std::string_view control) override {
        record("hide " + control_tag(control));
        hidden.emplace(control);
    }

    void disable(std::string_view control) override {
        record("disable " + control_tag(control));
        disabled.emplace(control);
    }

    void write_timer_period(std::string_view control, std::int64_t milliseconds) override {
        record("write_period " + control_tag(control) + " " + std::to_string(milliseconds));
        if (control == names::时钟1) timer_period = milliseconds < 0 ? 0 : milliseconds;
    }

    // Recorded as "box[<buttons> <title> owner=<none|main|handle>] <text>".
    BoxResult message_box(std::string_view text, Buttons buttons, std::string_view title,
                          NativeHandle owner) override {
        const int box = boxes_shown_++;
        record("box[" + std::string(buttons == Buttons::Ok ? "Ok" : "OkCancel") + " " + std::string(title) +
               " owner=" + owner_tag(owner) + "] " + std::string(text));
        timer_period_at_boxes.push_back(timer_period);
        run_once(box_actions_, box);
        if (buttons == Buttons::Ok) return BoxResult::Ok;
        if (answers_.empty()) {
            ADD_FAILURE() << "no answer scripted for box " << box + 1 << ": " << readable(text);
            return BoxResult::Cancel;
        }
        const BoxResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    NativeHandle main_window_handle() override {
        record("main_window_handle");
        return main_window;
    }

    void write_always_on_top(bool on) override {
        record(on ? "top on" : "top off");
        always_on_top = on;
    }

    // Modal: returns when the window has been closed. An opening while one is
    // open only brings that one forward and returns at once.
    bool open_picture_window() override {
        if (picture_window_open) {
            record("open_picture_window: already open, brought forward");
            return true;
        }
        record("open_picture_window");
        picture_window_open = true;
        run_once(picture_actions_, picture_windows_opened++);
        picture_window_open = false;
        record("picture_window_closed");
        return true;
    }

    void hibernate() override {
        record("hibernate");
        hibernate_call.call(*this);
    }

    // The message goes into the exception only, so that lists of operations do
    // not depend on its wording.
    [[noreturn]] void fatal_error(std::string_view message, std::uint32_t code) override {
        record("fatal_error code=" + std::to_string(code));
        throw FatalError(message, code);
    }

private:
    void record(std::string line) { operations.push_back(std::move(line)); }

    std::string owner_tag(NativeHandle owner) const {
        if (owner == kNoOwner) return "none";
        if (owner == main_window) return "main";
        return hex(owner);
    }

    static void run_once(std::map<int, std::function<void()>>& actions, int key) {
        const auto found = actions.find(key);
        if (found == actions.end()) return;
        const std::function<void()> action = std::move(found->second);
        actions.erase(found);
        action();
    }

    std::deque<BoxResult> answers_;
    std::map<int, std::function<void()>> box_actions_;
    std::map<int, std::function<void()>> picture_actions_;
    int boxes_shown_ = 0;
};

}  // namespace br::fake
