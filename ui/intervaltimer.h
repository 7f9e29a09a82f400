// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QTimer>

namespace ui {

// A timer driven by its interval alone: a positive interval runs it, an
// interval of 0 stops it. (A QTimer with interval 0 would fire on every
// pass of the event loop instead.)
class IntervalTimer : public QObject
{
    Q_OBJECT
public:
    explicit IntervalTimer(QObject *parent, int intervalMs = 0);

    void setInterval(int ms);
    int interval() const { return m_interval; }
    bool isRunning() const { return m_timer.isActive(); }

signals:
    void timeout();

private:
    QTimer m_timer;
    int m_interval = 0;
};

} // namespace ui
