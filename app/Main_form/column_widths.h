// SPDX-License-Identifier: GPL-3.0-or-later
// The column widths of a list view's header as karvo.ini keeps them: one per column of its column table.
#pragma once

#include <QHeaderView>
#include <array>
#include <cstddef>

namespace karvo {

template <std::size_t N>
std::array<int, N> section_widths(const QHeaderView& header) {
    std::array<int, N> widths{};
    for (std::size_t i = 0; i < N; ++i)
        widths[i] = header.sectionSize(static_cast<int>(i));
    return widths;
}

template <std::size_t N>
void resize_sections(QHeaderView& header, const std::array<int, N>& widths) {
    for (std::size_t i = 0; i < N; ++i)
        header.resizeSection(static_cast<int>(i), widths[i]);
}

} // namespace karvo
