#pragma once
#include "main_window/hibernate.h"

namespace br {

class Win32Power final : public PowerManagement {
public:
    Library load_system_library(const char* file) override;
    Function find_function(Library library, const char* name) override;
    void free_library(Library library) override;
    void set_suspend_state(Function function, std::uint32_t hibernate, std::uint32_t force,
                           std::uint32_t wake_events_disabled) override;
    std::uint32_t last_error() override;
};

}  // namespace br
