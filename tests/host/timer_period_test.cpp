// The timer period of 时钟1 against simulated system timers and a simulated clock.
#include "main_window/timer_period.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <ostream>
#include <vector>

#include "main_window/interval.h"

namespace br {
namespace {

constexpr std::int64_t kSlice = TimerPeriod::kLongestSlice;
constexpr std::uint32_t kTick = TimerPeriod::kTickTimer;
constexpr std::uint32_t kSliceId = TimerPeriod::kSliceTimer;

struct TimerCall {
    enum Kind { Set, Kill } kind;
    std::uint32_t id;
    std::uint32_t milliseconds;  // Set only

    friend bool operator==(const TimerCall&, const TimerCall&) = default;
    friend std::ostream& operator<<(std::ostream& os, const TimerCall& c) {
        if (c.kind == Set) {
            return os << "set(" << c.id << ", " << c.milliseconds << ")";
        }
        return os << "kill(" << c.id << ")";
    }
};

// Periodic system timers the way a window has them: set(id, ms) (re)starts
// timer id to expire at now + ms and every ms after that, until it is killed.
class FakeSystemTimer : public SystemTimer {
public:
    struct Running {
        std::int64_t due;
        std::int64_t interval;
    };

    void set(std::uint32_t id, std::uint32_t milliseconds) override {
        calls.push_back({TimerCall::Set, id, milliseconds});
        std::int64_t interval = milliseconds;
        // The system clamps what it cannot time; the count would then be wrong.
        if (interval == 0 || interval > kSlice) {
            ADD_FAILURE() << "set(" << id << ", " << milliseconds << "): expected a period in 1.."
                          << kSlice;
            interval = interval == 0 ? 10 : kSlice;
        }
        running[id] = {now + interval, interval};
    }

    void kill(std::uint32_t id) override {
        calls.push_back({TimerCall::Kill, id, 0});
        running.erase(id);
    }

    std::int64_t now = 0;
    std::map<std::uint32_t, Running> running;
    std::vector<TimerCall> calls;
};

// A TimerPeriod wired to the fake timers, with a clock that delivers every
// expiry in time order and records when the periodic event is raised.
class TimedWindow {
public:
    TimedWindow() : period(timers) {}

    std::int64_t now() const { return timers.now; }

    void advance_to(std::int64_t time) {
        for (;;) {
            auto next = timers.running.end();
            for (auto it = timers.running.begin(); it != timers.running.end(); ++it) {
                if (it->second.due <= time && (next == timers.running.end() || it->second.due < next->second.due)) {
                    next = it;
                }
            }
            if (next == timers.running.end()) {
                break;
            }
            timers.now = next->second.due;
            next->second.due += next->second.interval;
            deliver(next->first);
            if (events.size() > kEventLimit) {
                ADD_FAILURE() << "more than " << kEventLimit << " events by " << timers.now << " ms";
                break;
            }
        }
        timers.now = time;
    }

    // A timer message posted to the window from outside.
    bool post(std::uint32_t id) { return deliver(id); }

    FakeSystemTimer timers;
    TimerPeriod period;
    std::vector<std::int64_t> events;  // times at which the periodic event was raised

private:
    static constexpr std::size_t kEventLimit = 10000;

    bool deliver(std::uint32_t id) {
        const bool raised = period.on_system_timer(id);
        if (raised) {
            events.push_back(timers.now);
        }
        return raised;
    }
};

using Times = std::vector<std::int64_t>;

// Periods on both sides of the longest system timer, up to the longest that
// 编辑框1 can ask for.
const std::int64_t kPeriods[] = {
    1, 1000, kSlice - 1, kSlice, kSlice + 1, 2 * kSlice, 3 * kSlice + 12345,
    period_for_minutes(std::numeric_limits<std::int32_t>::max()),
};

TEST(TimerPeriod, CountStartsAtTheFirstWriteAndRepeatsEveryPeriod) {
    for (const std::int64_t p : kPeriods) {
        SCOPED_TRACE(::testing::Message() << "period " << p << " ms");
        TimedWindow w;
        EXPECT_EQ(w.period.read(), 0);
        w.advance_to(777);
        w.period.write(p);
        EXPECT_EQ(w.period.read(), p);

        w.advance_to(777 + p - 1);
        EXPECT_EQ(w.events, Times{}) << "no event before one whole period";
        w.advance_to(777 + p);
        EXPECT_EQ(w.events, Times{777 + p});
        w.advance_to(777 + 2 * p - 1);
        EXPECT_EQ(w.events, Times{777 + p});
        w.advance_to(777 + 2 * p);
        EXPECT_EQ(w.events, (Times{777 + p, 777 + 2 * p}));
    }
}

TEST(TimerPeriod, WritingTheStoredPeriodKeepsThePhase) {
    struct Case {
        std::int64_t period;
        std::int64_t rewrite_at;
        std::int64_t written;  // counts as the stored period
    };
    const Case cases[] = {
        {0, 500, 0},
        {0, 500, -5},
        {1000, 400, 1000},
        {1000, 1000, 1000},  // just after an event
        {3 * kSlice + 12345, kSlice + 5, 3 * kSlice + 12345},
        {3 * kSlice + 12345, 3 * kSlice + 1, 3 * kSlice + 12345},  // in the last part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "period " << c.period << " ms, writing " << c.written
                                          << " at " << c.rewrite_at << " ms");
        TimedWindow w;
        w.period.write(c.period);
        w.advance_to(c.rewrite_at);
        w.timers.calls.clear();
        w.period.write(c.written);
        EXPECT_EQ(w.timers.calls, std::vector<TimerCall>{}) << "no system timer touched";
        EXPECT_EQ(w.period.read(), c.period);

        w.advance_to(2 * c.period);
        const Times expected = c.period == 0 ? Times{} : Times{c.period, 2 * c.period};
        EXPECT_EQ(w.events, expected) << "events on the first write's phase";
    }
}

TEST(TimerPeriod, WritingAnotherPeriodRestartsTheCountFromThatWrite) {
    struct Case {
        std::int64_t from;
        std::int64_t write_at;  // just before the old count's next system timer expiry
        std::int64_t to;
    };
    const Case cases[] = {
        {1000, 400, 3000},
        {3000, 2500, 1000},
        {1000, 999, 3 * kSlice + 7},
        {3 * kSlice + 7, 2 * kSlice - 100, 1000},
        {3 * kSlice + 7, 3 * kSlice - 5, 2 * kSlice + 1},
        {3 * kSlice + 7, 3 * kSlice + 3, kSlice + 2},  // in the old count's last part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from << " ms to " << c.to << " ms at "
                                          << c.write_at << " ms");
        TimedWindow w;
        w.period.write(c.from);
        w.advance_to(c.write_at);
        ASSERT_EQ(w.events, Times{}) << "set-up: the old period has not elapsed yet";
        w.period.write(c.to);
        EXPECT_EQ(w.period.read(), c.to);

        w.advance_to(c.write_at + 2 * c.to);
        EXPECT_EQ(w.events, (Times{c.write_at + c.to, c.write_at + 2 * c.to}))
            << "only the new period's events, counted from the write";
    }
}

TEST(TimerPeriod, WritingZeroOrLessStops) {
    const std::int64_t running_periods[] = {1000, 3 * kSlice + 12345};
    const std::int64_t stops[] = {0, -1, -60000, std::numeric_limits<std::int64_t>::min()};
    for (const std::int64_t p : running_periods) {
        for (const std::int64_t stop : stops) {
            SCOPED_TRACE(::testing::Message() << "period " << p << " ms, then writing " << stop);
            TimedWindow w;
            w.period.write(p);
            w.advance_to(p + p / 2);
            ASSERT_EQ(w.events, Times{p}) << "set-up";
            w.period.write(stop);
            EXPECT_EQ(w.period.read(), 0);
            EXPECT_TRUE(w.timers.running.empty()) << "expected no system timer left running, saw "
                                                  << w.timers.running.size();
            w.advance_to(10 * p);
            EXPECT_EQ(w.events, Times{p}) << "no event after stopping";

            // Stopped means stored 0: the same period written again starts a new count.
            w.period.write(p);
            w.advance_to(11 * p);
            EXPECT_EQ(w.events, (Times{p, 11 * p}));
        }
    }
}

TEST(TimerPeriod, PostedTimerMessageRaisesTheEventWhileStopped) {
    const std::uint32_t ids[] = {kTick, kSliceId, 0, 7, 0xFFFFFFFF};
    for (const std::uint32_t id : ids) {
        SCOPED_TRACE(::testing::Message() << "timer id " << id);
        TimedWindow w;
        w.period.write(1000);
        w.period.write(0);
        w.timers.calls.clear();
        w.advance_to(5000);
        EXPECT_TRUE(w.post(id));
        EXPECT_EQ(w.timers.calls, std::vector<TimerCall>{}) << "no system timer touched";
        EXPECT_TRUE(w.timers.running.empty());
        EXPECT_EQ(w.period.read(), 0);
    }
}

TEST(TimerPeriod, PostedTickInAShortPeriodKeepsTheSystemTimersPhase) {
    TimedWindow w;
    w.period.write(1000);
    w.advance_to(1400);
    w.timers.calls.clear();
    EXPECT_TRUE(w.post(kTick));
    EXPECT_EQ(w.timers.calls, std::vector<TimerCall>{}) << "no system timer touched";
    w.advance_to(3000);
    EXPECT_EQ(w.events, (Times{1000, 1400, 2000, 3000}));
}

TEST(TimerPeriod, PostedTickInALongPeriodRestartsTheCountFromTheMessage) {
    const std::int64_t p = 3 * kSlice + 12345;
    const std::int64_t posted_at[] = {kSlice + 5, 3 * kSlice + 100};  // during a slice; during the last part
    for (const std::int64_t at : posted_at) {
        SCOPED_TRACE(::testing::Message() << "posted at " << at << " ms");
        TimedWindow w;
        w.period.write(p);
        w.advance_to(at);
        EXPECT_TRUE(w.post(kTick));
        w.advance_to(at + 2 * p);
        EXPECT_EQ(w.events, (Times{at, at + p, at + 2 * p}));
    }
}

}  // namespace
}  // namespace br
