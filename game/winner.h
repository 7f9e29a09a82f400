// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace game {

// The banner blinks once a second, five times from a count of 0.
constexpr int BlinkIntervalMs = 1000;
constexpr qint16 BlinksPerBanner = 5;

// The winner's mark on the banner: "1", "2", or "X" for a tie.
QString winnerMark(qint16 finalScore1, qint16 finalScore2);

// "Score Difference = " and the absolute difference of the final scores.
QString scoreDifferenceText(qint16 finalScore1, qint16 finalScore2);

// Counts one blink. The count runs 1..5 and then starts again from 0; the
// answer is true on the blink that brings it back, after which the banner
// stops. The count is not reset by a new game, so a banner cut short by
// one leaves fewer blinks for the next.
bool advanceBlink(qint16 &blinkCount);

} // namespace game
