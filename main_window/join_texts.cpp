#include "main_window/join_texts.h"

#include <cstring>
#include <new>

#include "main_window/gui.h"
#include "main_window/texts.h"

namespace br {

TextBuffer allocate_text(std::size_t bytes) { return TextBuffer(new (std::nothrow) char[bytes]); }

TextBuffer join_texts(Gui& gui, std::initializer_list<std::optional<std::string_view>> parts,
                      Allocate allocate) {
    std::size_t bytes = 1;
    for (const auto& part : parts) bytes += part ? part->size() : 0;
    TextBuffer joined = allocate(bytes);
    if (!joined) {
        gui.fatal_error(std::string(texts::kOutOfMemoryBefore) + " " + std::to_string(bytes) + " " +
                            texts::kOutOfMemoryAfter,
                        0);
    }
    char* end = joined.get();
    for (const auto& part : parts) {
        if (part && !part->empty()) end = static_cast<char*>(std::memcpy(end, part->data(), part->size())) + part->size();
    }
    *end = '\0';
    return joined;
}

}  // namespace br
