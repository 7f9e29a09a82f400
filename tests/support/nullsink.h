// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testing {

// A private PulseAudio server whose only sink is a null sink, in a
// temporary folder; this process's sound goes there once start() has set
// PULSE_SERVER (before Qt Multimedia first looks for a device). Stopped
// when destroyed.
class NullSinkServer
{
public:
    static constexpr const char *SinkName = "test_null";

    NullSinkServer() = default;
    NullSinkServer(const NullSinkServer &) = delete;
    NullSinkServer &operator=(const NullSinkServer &) = delete;
    ~NullSinkServer();

    // False when pulseaudio is not installed or does not come up.
    bool start();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

// Records the null sink's monitor (parec), mono signed 16-bit at Rate Hz.
class MonitorRecorder
{
public:
    static constexpr int Rate = 44100;

    MonitorRecorder() = default;
    MonitorRecorder(const MonitorRecorder &) = delete;
    MonitorRecorder &operator=(const MonitorRecorder &) = delete;
    ~MonitorRecorder();

    // False when parec is missing or does not start; `latencyMs` is the
    // fragment it asks for.
    bool start(int latencyMs);
    // Waits until the monitor delivers its samples as they are mixed: an
    // idle sink mixes in long blocks (seconds), and only after the block
    // under way does it follow the recorder's small fragments. False when
    // that does not happen within `timeoutMs`.
    bool waitUntilSteady(int timeoutMs);
    // Ends the recording; everything recorded, as samples.
    QList<qint16> stop();

private:
    QProcess m_process;
    QByteArray m_raw;
};

} // namespace testing
