// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/winner.h"

#include "game/textvalue.h"

#include <cstdlib>

namespace game {

QString winnerMark(qint16 finalScore1, qint16 finalScore2)
{
    if (finalScore2 > finalScore1)
        return QStringLiteral("2");
    if (finalScore1 > finalScore2)
        return QStringLiteral("1");
    return QStringLiteral("X");
}

QString scoreDifferenceText(qint16 finalScore1, qint16 finalScore2)
{
    return QStringLiteral("Score Difference = ") + numberText(std::abs(finalScore2 - finalScore1));
}

bool advanceBlink(qint16 &blinkCount)
{
    ++blinkCount;
    if (blinkCount == BlinksPerBanner) {
        blinkCount = 0;
        return true;
    }
    return false;
}

} // namespace game
