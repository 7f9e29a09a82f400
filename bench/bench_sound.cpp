// How long PlayWavResource takes to return with the real audio output: the
// cost a hit or a blink pays for starting its sound. The sounds are played
// in the mix of a game (mostly hits, 109 and 110, some 111), a few
// milliseconds apart, each cutting off the one before. Target: a median
// under 2 ms with a PulseAudio null sink.
//
// With no PULSE_SERVER given, the benchmark starts a PulseAudio server of
// its own with a null sink in a temporary folder, when pulseaudio is
// installed; otherwise it measures whatever output the machine has.
// It plays through the game's own output, the sound module.

#include "ui/modgame.h"
#include "ui/soundoutput.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// A private sound server whose only sink is a null sink; stopped on exit.
class NullSinkServer
{
public:
    bool start()
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
                              QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=bench_null"),
                              QStringLiteral("-L"),
                              QStringLiteral("module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
        if (!m_process.waitForStarted(5000))
            return false;
        for (int i = 0; i < 100 && !QFileInfo::exists(socket); ++i)
            QThread::msleep(50);
        if (!QFileInfo::exists(socket))
            return false;
        qputenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit());
        return true;
    }

    ~NullSinkServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(1000);
        }
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

double milliseconds(qint64 ns)
{
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<NullSinkServer> server;
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        server = std::make_unique<NullSinkServer>();
        if (!server->start())
            server.reset();
    }
    QCoreApplication app(argc, argv);

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    std::printf("audio output: %s%s\n", device.isNull() ? "none" : qPrintable(device.description()),
                server ? " (private null-sink server)" : "");

    // The game's own output: the sound module, loaded beforehand as the
    // window does once it is up.
    ui::ModuleSoundOutput output;
    if (!output.load()) {
        std::fprintf(stderr, "bench_sound: the sound module cannot be loaded\n");
        return 1;
    }
    modGame::setOutput(&output);

    // A game's worth of sounds, ten times over: twenty hits, then five blinks.
    const qint16 hits[] = {109, 110, 110, 109, 110, 110, 110, 109, 109, 110};
    QList<qint64> times;
    QElapsedTimer between;
    for (int game = 0; game < 10; ++game) {
        QList<qint16> sounds;
        for (int i = 0; i < 20; ++i)
            sounds << hits[(i + game) % 10];
        for (int i = 0; i < 5; ++i)
            sounds << 111;
        for (qint16 id : sounds) {
            QElapsedTimer call;
            call.start();
            modGame::PlayWavResource(id);
            times << call.nsecsElapsed();
            // Let the sound run a little, as between two clicks.
            between.start();
            while (between.elapsed() < 20)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    modGame::setOutput(nullptr);

    std::sort(times.begin(), times.end());
    const double median = milliseconds(times.at(times.size() / 2));
    std::printf("PlayWavResource over %lld calls: median %.3f ms, 90th percentile %.3f ms, fastest %.3f ms, "
                "slowest %.3f ms\n",
                static_cast<long long>(times.size()), median, milliseconds(times.at(times.size() * 9 / 10)),
                milliseconds(times.first()), milliseconds(times.last()));
    std::printf("BENCH sound_start_ms %.3f ms < 2 PlayWavResource returning, real audio output%s (median of %lld)\n",
                median, server ? ", private null sink" : "", static_cast<long long>(times.size()));
    return 0;
}
