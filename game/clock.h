// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QDateTime>

namespace game {

// The local clock, as the game sees it. Tests replace it.
class Clock
{
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, to the hundredth of a second.
    virtual float secondsSinceMidnight() const = 0;
    // The current local date and time.
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    float secondsSinceMidnight() const override;
    QDateTime now() const override;
};

} // namespace game
