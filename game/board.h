// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <array>

namespace game {

constexpr int SquaresPerSeries = 10;
constexpr qint16 HitsPerGame = 20;

// Texts of both series after one renumbering.
struct Numbering
{
    std::array<QString, SquaresPerSeries> first;  // Label1(0..9)
    std::array<QString, SquaresPerSeries> second; // Label2(0..9)
};

// The clock digit: seconds since midnight times 100 in single precision,
// written with at most seven significant digits; its last character.
qint16 clockDigit(float secondsSinceMidnight);

// The random part: fraction * 10 rounded to nearest, halves to even (0..10).
qint16 randomPart(float fraction);

// Where the running digit starts: (random part + clock digit) modulo 10.
qint16 startDigit(qint16 randomPart, qint16 clockDigit);

// Renumbers both series from the running digit's start value. The first
// series runs upward around the digits, the second shows 9 minus the first;
// even digits of the first series carry a minus sign, odd ones of the second.
Numbering renumber(qint16 start);

// A score or attempts label after adding to it: its text read as a number,
// plus the amount, written back as a whole number.
QString addToText(const QString &labelText, qint16 amount);

// One group of a hit history: "+(" value ")".
QString historyGroup(qint16 value);

// The turn prompt naming the player to move.
QString turnPrompt(const QString &playerName);

// The refusal shown for a hit after the twentieth.
QString gameOverMessage();
QString gameOverTitle();

} // namespace game
