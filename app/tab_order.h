#pragma once
// The keyboard focus order of a window's controls.
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "app/window_definition.h"

namespace br {

// Whether control i can take the focus right now (visible and enabled).
using CanFocus = std::function<bool(std::size_t)>;

// The Tab cycle: the tab stops that can take the focus, ordered by tab-order
// value; among equal values a control defined later comes first.
std::vector<std::size_t> tab_cycle(std::span<const ControlDefinition> controls,
                                   const CanFocus& can_focus);

// The control Tab (forward) or Shift+Tab (backward) moves to from `current`;
// from a control outside the cycle, the first (or last) of the cycle.
// Nothing when the cycle is empty.
std::optional<std::size_t> next_in_cycle(const std::vector<std::size_t>& cycle,
                                         std::optional<std::size_t> current, bool forward);

}  // namespace br
