// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/field.h"

#include <algorithm>

namespace game {

SquareRef squareAt(Cell cell)
{
    return {(cell.row + cell.column) % 2 == 0, (cell.row * FieldColumns + cell.column) / 2};
}

Cell cellOf(SquareRef square)
{
    // Cells 2i and 2i+1 in reading order hold member i of one series each;
    // which one holds the first series depends on the row (five is odd).
    for (int place = 2 * square.index; place <= 2 * square.index + 1; ++place) {
        const Cell cell{place / FieldColumns, place % FieldColumns};
        if (squareAt(cell).firstSeries == square.firstSeries)
            return cell;
    }
    return {};
}

int placeNumber(Cell cell)
{
    return cell.row * FieldColumns + cell.column + 1;
}

Cell step(Cell from, Step direction)
{
    switch (direction) {
    case Step::Left:
        return {from.row, std::max(from.column - 1, 0)};
    case Step::Right:
        return {from.row, std::min(from.column + 1, FieldColumns - 1)};
    case Step::Up:
        return {std::max(from.row - 1, 0), from.column};
    case Step::Down:
        return {std::min(from.row + 1, FieldRows - 1), from.column};
    }
    return from;
}

} // namespace game
