#include "main_window/hibernate.h"

#include <string>

#include "main_window/gui.h"
#include "main_window/texts.h"

namespace br {

void HibernateCall::call(Gui& gui) {
    if (!function_) {
        const PowerManagement::Library library = power_.load_system_library(kPowerLibrary);
        const PowerManagement::Function function =
            library ? power_.find_function(library, kSuspendFunction) : 0;
        if (!function) {
            const std::uint32_t error = power_.last_error();
            if (library) power_.free_library(library);
            gui.fatal_error(std::string(texts::kFunctionMissingBefore) + kPowerLibrary +
                                texts::kFunctionMissingMiddle + kSuspendFunction +
                                texts::kFunctionMissingAfter,
                            error);
        }
        library_ = library;
        function_ = function;
    }
    power_.set_suspend_state(function_, 1, 1, 1);
}

void HibernateCall::release() {
    if (library_) power_.free_library(library_);
    library_ = 0;
    function_ = 0;
}

}  // namespace br
