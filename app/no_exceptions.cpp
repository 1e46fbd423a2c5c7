// The program catches no exception: the standard library's throws (a string or
// vector past its maximum size, an empty std::function called) can only be
// faults, so they end the process at once instead of unwinding. Defining them
// here also keeps the exception classes, their string copies and the C++
// demangler of the default terminate handler out of the executable.
#include <cstdlib>

namespace std {

[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_bad_function_call() { std::abort(); }

}  // namespace std

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
