// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "game/board.h"

#include <QString>
#include <array>

namespace game {

// The variables of one game that the window holds. The running scores and
// attempt counts are not here: they live only as the texts of their labels.
struct GameState
{
    qint16 HitCount = 0;                    // 0..20; odd after the first player's hit
    std::array<QString, 2> PlayerName;      // 0 is the first player
    qint16 HitValue = 0;                    // value of the latest hit
    qint16 FinalScore1 = 0;                 // taken at the twentieth hit
    qint16 FinalScore2 = 0;
    QString HitHistory1;                    // "+(v)" per hit of the first player
    QString HitHistory2;

    bool isOver() const { return HitCount == HitsPerGame; }
    // After HitCount has been advanced: whose hit was it?
    bool lastHitWasFirstPlayers() const { return HitCount % 2 == 1; }
};

} // namespace game
