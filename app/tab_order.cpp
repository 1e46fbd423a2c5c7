#include "app/tab_order.h"

#include <algorithm>

namespace br {

std::vector<std::size_t> tab_cycle(std::span<const ControlDefinition> controls,
                                   const CanFocus& can_focus) {
    std::vector<std::size_t> cycle;
    for (std::size_t i = controls.size(); i-- > 0;) {
        if (controls[i].tab_stop && can_focus(i)) cycle.push_back(i);
    }
    // Walking the list backwards and sorting stably puts later definitions first
    // among equal tab-order values.
    std::stable_sort(cycle.begin(), cycle.end(), [&](std::size_t a, std::size_t b) {
        return controls[a].tab_order < controls[b].tab_order;
    });
    return cycle;
}

std::optional<std::size_t> next_in_cycle(const std::vector<std::size_t>& cycle,
                                         std::optional<std::size_t> current, bool forward) {
    if (cycle.empty()) return std::nullopt;
    const auto at = current ? std::find(cycle.begin(), cycle.end(), *current) : cycle.end();
    if (at == cycle.end()) return forward ? cycle.front() : cycle.back();
    const auto index = static_cast<std::size_t>(at - cycle.begin());
    const std::size_t n = cycle.size();
    return cycle[forward ? (index + 1) % n : (index + n - 1) % n];
}

}  // namespace br
