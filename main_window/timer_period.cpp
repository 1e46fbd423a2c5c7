#include "main_window/timer_period.h"

namespace br {
namespace {

constexpr std::uint32_t kNoTimer = 0;

}  // namespace

void TimerPeriod::write(std::int64_t milliseconds) {
    if (milliseconds < 0) {
        milliseconds = 0;
    }
    if (milliseconds == period_) {
        // Leaves the running count alone, so the next event comes on time.
        return;
    }
    period_ = milliseconds;
    if (running_ != kNoTimer) {
        timer_.kill(running_);
        running_ = kNoTimer;
    }
    remaining_ = 0;
    if (period_ > 0) {
        start_count();
    }
}

bool TimerPeriod::on_system_timer(std::uint32_t id) {
    if (id == kSliceTimer && running_ == kSliceTimer) {
        // A leading slice of a long period has elapsed: count the next part.
        timer_.kill(kSliceTimer);
        running_ = kNoTimer;
        arm_next_slice();
        return false;
    }
    // Every other timer message is the periodic event, whoever sent it.
    if (period_ > kLongestSlice) {
        // The tick timer of a long period only timed its last part; the next
        // period is counted afresh from now.
        if (running_ != kNoTimer) {
            timer_.kill(running_);
            running_ = kNoTimer;
        }
        start_count();
    }
    // A short period's tick timer is periodic and keeps its phase by itself.
    return true;
}

void TimerPeriod::start_count() {
    if (period_ <= kLongestSlice) {
        timer_.set(kTickTimer, static_cast<std::uint32_t>(period_));
        running_ = kTickTimer;
        return;
    }
    remaining_ = period_;
    arm_next_slice();
}

void TimerPeriod::arm_next_slice() {
    if (remaining_ > kLongestSlice) {
        remaining_ -= kLongestSlice;
        timer_.set(kSliceTimer, static_cast<std::uint32_t>(kLongestSlice));
        running_ = kSliceTimer;
        return;
    }
    // The rest fits one system timer, whose expiry ends the period.
    timer_.set(kTickTimer, static_cast<std::uint32_t>(remaining_));
    remaining_ = 0;
    running_ = kTickTimer;
}

}  // namespace br
