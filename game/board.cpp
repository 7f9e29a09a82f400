// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/board.h"

#include "game/textvalue.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

namespace game {

qint16 clockDigit(float secondsSinceMidnight)
{
    const float product = secondsSinceMidnight * 100.0f;
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(product));
    const char *last = text;
    for (const char *p = text; *p; ++p)
        last = p;
    return (*last >= '0' && *last <= '9') ? static_cast<qint16>(*last - '0') : qint16(0);
}

qint16 randomPart(float fraction)
{
    const float scaled = fraction * 10.0f;
    // nearbyint rounds in the current mode, which is to-nearest-even unless
    // somebody changed it; make sure.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const float rounded = std::nearbyint(scaled);
    std::fesetround(saved);
    return static_cast<qint16>(rounded);
}

qint16 startDigit(qint16 randomPart, qint16 clockDigit)
{
    return static_cast<qint16>((randomPart + clockDigit) % 10);
}

Numbering renumber(qint16 start)
{
    Numbering n;
    qint16 running = start;
    for (int i = 0; i < SquaresPerSeries; ++i) {
        ++running;
        const bool even = running % 2 == 0;
        const QString firstSign = even ? QStringLiteral("-") : QString();
        const QString secondSign = even ? QString() : QStringLiteral("-");
        if (running > 9)
            running = 0;
        n.first[i] = firstSign + QChar(u'0' + running);
        n.second[i] = secondSign + QChar(u'0' + (9 - running));
    }
    return n;
}

QString addToText(const QString &labelText, qint16 amount)
{
    return numberText(textValue(labelText) + amount);
}

QString historyGroup(qint16 value)
{
    return QStringLiteral("+(") + numberText(value) + QStringLiteral(")");
}

QString turnPrompt(const QString &playerName)
{
    return QStringLiteral("ITS TURN OF ") + playerName;
}

QString gameOverMessage()
{
    return QStringLiteral("Both of you have finished your allotted attempts.\r\nReset to start a new Game.");
}

QString gameOverTitle()
{
    return QStringLiteral("Play Number Game");
}

} // namespace game
