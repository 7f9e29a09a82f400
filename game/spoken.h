// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace game {

// What a screen reader says of a game as it goes, in short plain phrases.
// None of it is shown on screen.

// How a square is described: "Shows -4", with "%1" for what it shows.
// (Orca leaves out a description found inside the name, and a bare "5"
// is inside "Square 10, row 2, column 5".)
QString squareShows();

// One hit: who hit, the points scored, that player's total and attempts,
// and who plays next (nobody after the last hit of a game):
// "PLAYER 1 scores 7. Total 12 after 3 attempts. Next PLAYER 2."
QString hitPhrase(const QString &hitter, qint16 points, qint16 total, qint16 attempts, const QString &nextPlayer);

// The end of a game, as the banner shows it, and the score difference:
// "PLAYER 2 WON. Score difference 7.", or "A tie. Score difference 0."
// `winnerMark` is the banner's mark: "1", "2" or "X".
QString endPhrase(const QString &winnerMark, qint16 finalScore1, qint16 finalScore2);

} // namespace game
