#include "ui/intervaltimer.h"

namespace ui {

IntervalTimer::IntervalTimer(QObject *parent, int intervalMs) : QObject(parent)
{
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
