// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

namespace game {

// The board's field: four rows of five cells. The two series of squares
// alternate on it like a checkerboard, the first series on the cells whose
// row and column (from 0) add up to an even number, each series numbered in
// reading order.
constexpr int FieldRows = 4;
constexpr int FieldColumns = 5;

struct Cell
{
    int row = 0;
    int column = 0;
    bool operator==(const Cell &) const = default;
};

struct SquareRef
{
    bool firstSeries = true;
    int index = 0; // 0..9 within its series
    bool operator==(const SquareRef &) const = default;
};

// Which square stands on a cell, and where a square stands.
SquareRef squareAt(Cell cell);
Cell cellOf(SquareRef square);

// A square's number in reading order over the whole field, 1 to 20.
int placeNumber(Cell cell);

// Where an arrow key moves the keyboard focus on the field: one cell left,
// right, up or down, both series alike; at an edge it stays where it is.
enum class Step { Left, Right, Up, Down };
Cell step(Cell from, Step direction);

} // namespace game
