// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/clock.h"

#include <QTime>

namespace game {

float SystemClock::secondsSinceMidnight() const
{
    const int hundredths = QTime::currentTime().msecsSinceStartOfDay() / 10;
    return static_cast<float>(hundredths) / 100.0f;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

} // namespace game
