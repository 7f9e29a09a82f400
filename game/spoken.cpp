// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/spoken.h"

#include <cstdlib>

namespace game {

QString squareShows()
{
    return QStringLiteral("Shows %1");
}

QString hitPhrase(const QString &hitter, qint16 points, qint16 total, qint16 attempts, const QString &nextPlayer)
{
    QString phrase = QStringLiteral("%1 scores %2. Total %3 after %4 %5.")
                         .arg(hitter)
                         .arg(points)
                         .arg(total)
                         .arg(attempts)
                         .arg(attempts == 1 ? QStringLiteral("attempt") : QStringLiteral("attempts"));
    if (!nextPlayer.isEmpty())
        phrase += QStringLiteral(" Next %1.").arg(nextPlayer);
    return phrase;
}

QString endPhrase(const QString &winnerMark, qint16 finalScore1, qint16 finalScore2)
{
    const int difference = std::abs(int(finalScore2) - int(finalScore1));
    const QString outcome = winnerMark == QLatin1String("X") ? QStringLiteral("A tie.")
                                                             : QStringLiteral("PLAYER %1 WON.").arg(winnerMark);
    return QStringLiteral("%1 Score difference %2.").arg(outcome).arg(difference);
}

} // namespace game
