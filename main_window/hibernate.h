#pragma once
// The hibernate call: SetSuspendState of Powrprof.dll, bound at its first use
// and kept for the rest of the run.
#include <cstdint>

namespace br {

class Gui;

inline constexpr char kPowerLibrary[] = "Powrprof.dll";
inline constexpr char kSuspendFunction[] = "SetSuspendState";

// The system calls behind the binding (LoadLibrary / GetProcAddress on Windows).
class PowerManagement {
public:
    using Library = std::uintptr_t;   // 0: not loaded
    using Function = std::uintptr_t;  // 0: not found
    virtual ~PowerManagement() = default;
    // Loads the library from the system's own folder only.
    virtual Library load_system_library(const char* file) = 0;
    virtual Function find_function(Library library, const char* name) = 0;
    virtual void free_library(Library library) = 0;
    virtual void set_suspend_state(Function function, std::uint32_t hibernate, std::uint32_t force,
                                   std::uint32_t wake_events_disabled) = 0;
    // The error code of the last failed call.
    virtual std::uint32_t last_error() = 0;
};

class HibernateCall {
public:
    explicit HibernateCall(PowerManagement& power) : power_(power) {}
    HibernateCall(const HibernateCall&) = delete;
    HibernateCall& operator=(const HibernateCall&) = delete;
    ~HibernateCall() { release(); }

    // Hibernate, force, wake-up events disabled. A function that cannot be
    // bound ends the program through the fatal error report.
    void call(Gui& gui);
    // Frees the library, if the call was ever bound.
    void release();

private:
    PowerManagement& power_;
    PowerManagement::Library library_ = 0;
    PowerManagement::Function function_ = 0;
};

}  // namespace br
