#pragma once
// Joining texts for the reminder messages.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace br {

class Gui;

// A zero-terminated text owned by whoever joined it.
using TextBuffer = std::unique_ptr<char[]>;
// Gets memory for a text of `bytes` bytes; nothing when it cannot be had.
using Allocate = TextBuffer (*)(std::size_t bytes);
TextBuffer allocate_text(std::size_t bytes);

// The parts one after the other, then a terminating zero; an absent part
// counts as empty. Running out of memory is fatal and names the bytes asked for.
TextBuffer join_texts(Gui& gui, std::initializer_list<std::optional<std::string_view>> parts,
                      Allocate allocate = allocate_text);

}  // namespace br
