#pragma once
// The timer period of 时钟1: a number of milliseconds, never negative, 0 meaning
// stopped. A period longer than the longest system timer is timed in slices,
// and the periodic event is raised only when the whole period has elapsed.
#include <cstdint>

namespace br {

// The system timers of one window (SetTimer / KillTimer on the Win32 side).
class SystemTimer {
public:
    virtual ~SystemTimer() = default;
    virtual void set(std::uint32_t id, std::uint32_t milliseconds) = 0;
    virtual void kill(std::uint32_t id) = 0;
};

class TimerPeriod {
public:
    // USER_TIMER_MAXIMUM: the longest period a system timer takes.
    static constexpr std::int64_t kLongestSlice = 0x7FFFFFFF;
    // The system timer whose expiry is the periodic event.
    static constexpr std::uint32_t kTickTimer = 1;
    // The system timer that counts the leading slices of a long period.
    static constexpr std::uint32_t kSliceTimer = 2;

    explicit TimerPeriod(SystemTimer& timer) : timer_(timer) {}

    // Writes the period. A negative value counts as 0. Writing the stored value
    // changes nothing, so a running timer keeps its phase; any other value
    // kills the running system timer and starts the count afresh.
    void write(std::int64_t milliseconds);
    std::int64_t read() const { return period_; }

    // A timer message with this id reached the timer's window. Returns true when
    // it raises the periodic event: every message does, except the expiry of a
    // leading slice of a long period.
    bool on_system_timer(std::uint32_t id);

private:
    void start_count();
    void arm_next_slice();

    SystemTimer& timer_;
    std::int64_t period_ = 0;
    std::int64_t remaining_ = 0;  // of a long period, after the slice now running
    std::uint32_t running_ = 0;   // the system timer now running; 0 for none
};

}  // namespace br
