// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/nullsink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

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

NullSinkServer::NullSinkServer()
    : m_kind(qEnvironmentVariable("TAVROLIN_TEST_SOUND_SERVER", QStringLiteral("pulseaudio")))
{
}

bool NullSinkServer::start()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(TAVROLIN_SOUNDSERVER_SH), QStringLiteral("start"), m_kind, m_dir.path()});
    m_running = true; // whatever it started is stopped, even when it failed
    if (!script.waitForFinished(30000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        m_error = QStringLiteral("%1 did not start:\n%2").arg(m_kind, QString::fromLocal8Bit(script.readAllStandardError()));
        return false;
    }
    QFile env(m_dir.filePath(QStringLiteral("env")));
    if (!env.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1 started but left no address").arg(m_kind);
        return false;
    }
    const QByteArray line = env.readLine().trimmed();
    qputenv("PULSE_SERVER", line.mid(line.indexOf('=') + 1));
    return true;
}

int NullSinkServer::timesFellBehind() const
{
    QFile log(m_dir.filePath(QStringLiteral("pipewire.log")));
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count("client too slow"));
}

void NullSinkServer::stop()
{
    if (!m_running)
        return;
    m_running = false;
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(TAVROLIN_SOUNDSERVER_SH), QStringLiteral("stop"), m_dir.path()});
    script.waitForFinished(30000);
}

NullSinkServer::~NullSinkServer()
{
    stop();
}

bool MonitorRecorder::start(int latencyMs)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                     [this] { m_raw += m_process.readAllStandardOutput(); });
    m_process.start(QStringLiteral("parec"),
                    {QStringLiteral("--raw"), QStringLiteral("--latency-msec=%1").arg(latencyMs),
                     QStringLiteral("--device=%1.monitor").arg(QLatin1String(NullSinkServer::SinkName)),
                     QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(Rate),
                     QStringLiteral("--channels=2")});
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
        QTest::qWait(periodMs);
        const double gotMs = double(m_raw.size() - before) / 4 * 1000 / Rate;
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
    out.reserve(m_raw.size() / 4);
    for (qsizetype i = 0; i + 3 < m_raw.size(); i += 4) // the left side
        out << static_cast<qint16>(static_cast<quint8>(m_raw[i]) | (static_cast<quint8>(m_raw[i + 1]) << 8));
    return out;
}

MonitorRecorder::~MonitorRecorder()
{
    endProcess(m_process);
}

} // namespace testing
