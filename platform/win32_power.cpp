#include "platform/win32_power.h"

#include <windows.h>

#include <string>

namespace br {
namespace {

// BOOLEAN SetSuspendState(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wake_events_disabled),
// called with three 32-bit arguments.
using SetSuspendStateFunction = BOOLEAN(WINAPI*)(DWORD, DWORD, DWORD);

}  // namespace

PowerManagement::Library Win32Power::load_system_library(const char* file) {
    // Only the system's own copy: a file of that name planted beside the
    // program (a downloads folder, a shared folder) must never run in it.
    HMODULE library = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER) {
        // Systems without that flag: the full path in the system folder.
        char folder[MAX_PATH];
        const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            library = LoadLibraryA((std::string(folder, length) + "\\" + file).c_str());
        }
    }
    return reinterpret_cast<Library>(library);
}

PowerManagement::Function Win32Power::find_function(Library library, const char* name) {
    return reinterpret_cast<Function>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void Win32Power::free_library(Library library) { FreeLibrary(reinterpret_cast<HMODULE>(library)); }

void Win32Power::set_suspend_state(Function function, std::uint32_t hibernate, std::uint32_t force,
                                   std::uint32_t wake_events_disabled) {
    reinterpret_cast<SetSuspendStateFunction>(function)(hibernate, force, wake_events_disabled);
}

std::uint32_t Win32Power::last_error() { return GetLastError(); }

}  // namespace br
