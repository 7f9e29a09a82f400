// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testing {

// A private sound server whose only sink is a null sink, in a temporary
// folder (tests/support/soundserver.sh starts it): PulseAudio, or the
// PipeWire stack a desktop runs (pipewire, wireplumber, pipewire-pulse),
// as TAVROLIN_TEST_SOUND_SERVER says ("pulseaudio" when unset). This
// process's sound goes there once start() has set PULSE_SERVER. Stopped
// when destroyed.
class NullSinkServer
{
public:
    static constexpr const char *SinkName = "test_null";

    NullSinkServer();
    NullSinkServer(const NullSinkServer &) = delete;
    NullSinkServer &operator=(const NullSinkServer &) = delete;
    ~NullSinkServer();

    // "pulseaudio" or "pipewire".
    QString kind() const { return m_kind; }
    // False when the server does not come up; why is in error(). Started
    // again after stop(), it listens where it did before.
    bool start();
    void stop();
    QString error() const { return m_error; }
    // How often the server has logged that its own processing fell behind
    // the sink's clock so far (PipeWire's "client too slow"); PulseAudio
    // logs nothing of the kind.
    int timesFellBehind() const;

private:
    QString m_kind;
    QTemporaryDir m_dir;
    QString m_error;
    bool m_running = false;
};

// Records the null sink's monitor (parec), signed 16-bit at Rate Hz, and
// keeps the left side (a server's mix of both sides into one differs: -3 dB
// or -6 dB each).
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
    // Ends the recording; everything recorded, as samples of the left side.
    QList<qint16> stop();

private:
    QProcess m_process;
    QByteArray m_raw;
};

} // namespace testing
