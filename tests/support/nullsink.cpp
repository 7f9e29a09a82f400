// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/nullsink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

namespace testing {

namespace {

// Asks a helper process to end, and makes it end.
void endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(1000);
}

} // namespace

bool NullSinkServer::start()
{
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (exe.isEmpty() || !m_dir.isValid())
        return false;
    const QString socket = m_dir.filePath(QStringLiteral("native"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.filePath(QStringLiteral("state")));
    m_process.setProcessEnvironment(env);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(exe, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                          QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                          QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=%1").arg(QLatin1String(SinkName)),
                          QStringLiteral("-L"),
                          QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
    if (!m_process.waitForStarted(5000))
        return false;
    for (int i = 0; i < 200 && !QFileInfo::exists(socket); ++i)
        QThread::msleep(50);
    if (!QFileInfo::exists(socket))
        return false;
    qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
    return true;
}

NullSinkServer::~NullSinkServer()
{
    endProcess(m_process);
}

bool MonitorRecorder::start(int latencyMs)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_raw += m_process.readAllStandardOutput(); });
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--raw"), QStringLiteral("--latency-msec=%1").arg(latencyMs),
                     QStringLiteral("--device=%1.monitor").arg(QLatin1String(NullSinkServer::SinkName)),
                     QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(Rate),
                     QStringLiteral("--channels=1")});
    return m_process.waitForStarted(5000);
}

bool MonitorRecorder::waitUntilSteady(int timeoutMs)
{
    constexpr int periodMs = 100;
    QElapsedTimer clock;
    clock.start();
    int steadyPeriods = 0;
    while (clock.elapsed() < timeoutMs && steadyPeriods < 3) {
        const qsizetype before = m_raw.size();
        QElapsedTimer period;
        period.start();
        while (period.elapsed() < periodMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double gotMs = double(m_raw.size() - before) / 2 * 1000 / Rate;
        const double tookMs = double(period.elapsed());
        steadyPeriods = (gotMs > tookMs / 2 && gotMs < tookMs * 1.5) ? steadyPeriods + 1 : 0;
    }
    return steadyPeriods >= 3;
}

QList<qint16> MonitorRecorder::stop()
{
    endProcess(m_process);
    m_raw += m_process.readAllStandardOutput();
    QList<qint16> out;
    out.reserve(m_raw.size() / 2);
    for (qsizetype i = 0; i + 1 < m_raw.size(); i += 2)
        out << static_cast<qint16>(static_cast<quint8>(m_raw[i]) | (static_cast<quint8>(m_raw[i + 1]) << 8));
    return out;
}

MonitorRecorder::~MonitorRecorder()
{
    endProcess(m_process);
}

} // namespace testing
