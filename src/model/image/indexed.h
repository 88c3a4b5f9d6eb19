// Bounds-checked element access for the fixed-size arrays of the model: a read outside the array
// gives a value-initialised element, a write outside it is ignored.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

namespace qm54 {

template <class T, std::size_t N>
T ItemAt(const std::array<T, N>& items, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N) return T{};
    return items[static_cast<std::size_t>(index)];
}

template <class T, std::size_t N, class V>
void SetItemAt(std::array<T, N>& items, int index, V&& value)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N) return;
    items[static_cast<std::size_t>(index)] = std::forward<V>(value);
}

}  // namespace qm54
