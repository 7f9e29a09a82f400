// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// How long PlayWavResource takes to return with the real audio output: the
// cost a hit or a blink pays for starting its sound. The sounds are played
// in the mix of a game (mostly hits, 109 and 110, some 111), a few
// milliseconds apart, each cutting off the one before. Target: a median
// under 2 ms with a PulseAudio null sink.
//
// With no PULSE_SERVER given, the benchmark starts a PulseAudio server of
// its own with a null sink in a temporary folder (and fails when pulseaudio
// is not installed); with PULSE_SERVER it plays on that server's default
// sink. It plays through the game's own output, the sound module, and a
// figure only counts when the sounds reached the server: a stream of this
// program's must show among the server's sink inputs, and the sink's monitor,
// recorded all along, must carry sound. Otherwise the benchmark fails, as a
// call that returns at once because nothing plays would pass with ease.

#include "support/nullsink.h"
#include "ui/modgame.h"
#include "ui/soundoutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

double milliseconds(qint64 ns)
{
    return double(ns) / 1e6;
}

// Whether the sound server lists a sink input of this process's.
bool serverHasOurStream(QString *listing)
{
    QProcess pactl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    pactl.setProcessEnvironment(env);
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0) {
        pactl.kill();
        pactl.waitForFinished(1000);
        return false;
    }
    *listing = QString::fromLocal8Bit(pactl.readAllStandardOutput());
    const QRegularExpression ours(
        QStringLiteral("application\\.process\\.id = \"%1\"").arg(QCoreApplication::applicationPid()));
    return listing->contains(ours);
}

// The loudest sample (of 32767) in a recording of signed 16-bit samples.
int peak(const QByteArray &raw)
{
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2) {
        const auto sample = static_cast<qint16>(static_cast<quint8>(raw[i]) | (static_cast<quint8>(raw[i + 1]) << 8));
        loudest = std::max(loudest, std::abs(int(sample)));
    }
    return loudest;
}

} // namespace

int main(int argc, char *argv[])
{
    for (const char *tool : {"pactl", "parec"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::fprintf(stderr, "bench_sound: %s is missing (./dev bench installs it)\n", tool);
            return 1;
        }
    }
    std::unique_ptr<testing::NullSinkServer> server;
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER")) {
        server = std::make_unique<testing::NullSinkServer>();
        if (!server->start()) {
            std::fprintf(stderr, "bench_sound: no sound server to play on (./dev bench installs them), and PULSE_SERVER "
                                 "names none: %s\n", qPrintable(server->error()));
            return 1;
        }
    }
    QCoreApplication app(argc, argv);

    // The sink's monitor, recorded from before the first sound to after the last.
    QProcess recorder;
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("--raw"), QStringLiteral("--latency-msec=20"),
                    QStringLiteral("--device=%1").arg(server ? QLatin1String(testing::NullSinkServer::SinkName) + QStringLiteral(".monitor")
                                                             : QStringLiteral("@DEFAULT_MONITOR@")),
                    QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=1")});
    if (!recorder.waitForStarted(5000)) {
        std::fprintf(stderr, "bench_sound: parec did not start\n");
        return 1;
    }
    QByteArray recorded;
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput, &recorder,
                     [&] { recorded += recorder.readAllStandardOutput(); });
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    std::printf("sound server: %s%s\n", qgetenv("PULSE_SERVER").isEmpty() ? "the session's" : qgetenv("PULSE_SERVER").constData(),
                server ? qPrintable(QStringLiteral(" (private %1 with a null sink)").arg(server->kind())) : "");

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
    int streamChecks = 0, streamsSeen = 0;
    QString listing;
    for (int game = 0; game < 10; ++game) {
        QList<qint16> sounds;
        for (int i = 0; i < 20; ++i)
            sounds << hits[(i + game) % 10];
        for (int i = 0; i < 5; ++i)
            sounds << 111;
        for (qsizetype n = 0; n < sounds.size(); ++n) {
            QElapsedTimer call;
            call.start();
            modGame::PlayWavResource(sounds[n]);
            times << call.nsecsElapsed();
            // Let the sound run a little, as between two clicks.
            between.start();
            while (between.elapsed() < 20)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            // Once a game, outside the timing: is the sound on the server?
            if (n == 0) {
                ++streamChecks;
                if (serverHasOurStream(&listing))
                    ++streamsSeen;
            }
        }
    }
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    modGame::setOutput(nullptr);
    recorder.terminate();
    recorder.waitForFinished(3000);
    recorded += recorder.readAllStandardOutput();

    const int loudest = peak(recorded);
    std::printf("on the server: a stream of this program's at %d of %d looks, loudest sample on the monitor %d "
                "in %.1f s recorded\n",
                streamsSeen, streamChecks, loudest, double(recorded.size()) / 2 / 44100);
    if (streamsSeen == 0) {
        std::fprintf(stderr, "bench_sound: no stream of this program's reached the sound server; its sink inputs:\n%s\n",
                     qPrintable(listing));
        return 1;
    }
    if (loudest < 1000) {
        std::fprintf(stderr, "bench_sound: nothing was heard on the sink's monitor (loudest sample %d)\n%s", loudest,
                     recorder.readAllStandardError().constData());
        return 1;
    }

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
