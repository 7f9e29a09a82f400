// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/intervaltimer.h"

namespace ui {

IntervalTimer::IntervalTimer(QObject *parent, int intervalMs) : QObject(parent)
{
    // Kept to the millisecond: a coarse timer may fire a twentieth of its
    // interval early or late, and the banner's blinks, each with its sound,
    // would then come unevenly.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::timeout);
    setInterval(intervalMs);
}

void IntervalTimer::setInterval(int ms)
{
    m_interval = ms > 0 ? ms : 0;
    if (m_interval == 0) {
        m_timer.stop();
        return;
    }
    // Setting the interval again restarts the count, as a fresh interval would.
    m_timer.start(m_interval);
}

} // namespace ui
