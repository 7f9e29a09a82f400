// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The game's sounds as the sound server plays them, recorded from a null
// sink's monitor, on a private PulseAudio or PipeWire server (ctest runs
// this program once for each):
//   - every sound from its first sample, however long the quiet before it;
//   - a sound cut short by the next one: two sounds started 100 ms apart.
//     The first is a steady level, so that stopping it dead would leave a
//     step as high as the level itself wherever the cut falls; the second
//     is a 1 kHz tone with no steady part.

#include "support/nullsink.h"
#include "support/wavimage.h"
#include "ui/sound/pulseoutput.h"
#include "ui/sound/soundmixer.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

using testing::MonitorRecorder;
using testing::NullSinkServer;

class TestSoundCut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everySoundPlaysFromItsFirstSample_data();
    void everySoundPlaysFromItsFirstSample();
    void secondSoundCutsTheFirstWithoutAStep();
    void serverRestartedMidGame();

private:
    NullSinkServer m_server;
};

namespace {

constexpr int kLevel = 12000;     // the first sound's steady level
constexpr int kToneLevel = 6000;  // the second sound's peak
constexpr int kRate = MonitorRecorder::Rate;

int msToSamples(double ms)
{
    return int(std::lround(ms * kRate / 1000));
}

double mean(const QList<qint16> &s, qsizetype from, qsizetype count)
{
    double sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum += s[i];
    return sum / double(count);
}

double rms(const QList<qint16> &s, qsizetype from, qsizetype count)
{
    double sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(count));
}

// Lets the events run for `ms`, sleeping between them: a test that spun a
// core would be the load it is meant to play through.
void runEvents(int ms)
{
    if (ms > 0)
        QTest::qWait(ms);
}

// Sounds with a marked opening: 10 ms at one level, then 40 ms at a lower
// one. Any part of the opening that is not heard shortens the first level.
constexpr int kOpeningLevel = 12000, kRestLevel = 4000;
constexpr double kOpeningMs = 10, kMarkedMs = 50;

QByteArray markedSound()
{
    const int rate = ui::SoundMixer::SampleRate;
    const int openingFrames = int(kOpeningMs * rate / 1000);
    return testing::makeWav(1, rate, 16, int(kMarkedMs * rate / 1000),
                            [=](int f, int) { return f < openingFrames ? kOpeningLevel : kRestLevel; });
}

// The marked sounds in a recording: how many were heard whole, and each as
// heard (where it rises above half the lower level, how long it stays
// above the midpoint of the two levels, how long in all).
struct Heard
{
    int whole = 0;
    QStringList sounds;

    QString describe(qsizetype played) const
    {
        return QStringLiteral("%1 sounds of %2 ms played, %3 heard whole (%4 ms opening): %5")
            .arg(played).arg(kMarkedMs).arg(whole).arg(kOpeningMs)
            .arg(sounds.isEmpty() ? QStringLiteral("none heard") : sounds.join(QStringLiteral("; ")));
    }
};

Heard hearMarked(const QList<qint16> &s)
{
    Heard heard;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] <= kRestLevel / 2) // the same threshold that ends a sound
            continue;
        qsizetype end = i;
        while (end < s.size() && s[end] > kRestLevel / 2)
            ++end;
        if (end - i < msToSamples(1)) { // a blip of a few samples is no sound of 50 ms
            i = end;
            continue;
        }
        const auto high = std::count_if(s.cbegin() + i, s.cbegin() + end,
                                        [](qint16 v) { return v > (kOpeningLevel + kRestLevel) / 2; });
        const double openMs = double(high) * 1000 / kRate, allMs = double(end - i) * 1000 / kRate;
        heard.sounds << QStringLiteral("%1 ms, opening %2 ms").arg(allMs, 0, 'f', 1).arg(openMs, 0, 'f', 1);
        if (std::abs(openMs - kOpeningMs) < 0.5 && std::abs(allMs - kMarkedMs) < 1)
            ++heard.whole;
        i = end;
    }
    return heard;
}

} // namespace

void TestSoundCut::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty(), "parec is missing (./dev installs it)");
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

// However long the quiet before it, and whether the stream was open, every
// sound plays from its first sample; and the stream never runs dry.
void TestSoundCut::everySoundPlaysFromItsFirstSample_data()
{
    QTest::addColumn<QList<int>>("startsMs"); // from the output's making, each sound's start

    QTest::newRow("the first sound after start-up, then every 0.3 s") << QList<int>{0, 300, 600, 900, 1200};
    QTest::newRow("every second") << QList<int>{400, 1400, 2400, 3400, 4400};
    QTest::newRow("right after the sound before") << QList<int>{400, 460, 520, 580};
    QTest::newRow("after two and three quiet seconds") << QList<int>{400, 2450, 5500, 8500};
}

void TestSoundCut::everySoundPlaysFromItsFirstSample()
{
    QFETCH(QList<int>, startsMs);
    const QByteArray marked = markedSound();

    // A take in which the server itself fell behind (PipeWire logs it; any
    // client loses sound then, pacat as well) is taken again, twice at most.
    constexpr int kTakes = 3;
    for (int take = 1;; ++take) {
        const int fellBehindBefore = m_server.timesFellBehind();
        MonitorRecorder recorder;
        QVERIFY2(recorder.start(20), "parec did not start");
        QVERIFY2(recorder.waitUntilSteady(10000), "the recording does not follow the sink");
        int underflows = -1;
        {
            ui::PulseSoundOutput output;
            QElapsedTimer clock;
            clock.start();
            for (int at : std::as_const(startsMs)) {
                runEvents(int(at - clock.elapsed()));
                output.play(marked);
            }
            runEvents(300);
            QTRY_VERIFY_WITH_TIMEOUT(!output.isPlaying(), 3000);
            underflows = output.underflows();
        }
        runEvents(100);
        const Heard heard = hearMarked(recorder.stop());
        const bool whole = heard.sounds.size() == startsMs.size() && heard.whole == startsMs.size();
        if (whole && underflows == 0)
            return;
        const int fellBehind = m_server.timesFellBehind() - fellBehindBefore;
        if (fellBehind > 0 && take < kTakes) {
            qInfo("take %d spoiled: the server fell behind %d time(s) (%s; %d underflow(s))", take, fellBehind,
                  qPrintable(heard.describe(startsMs.size())), underflows);
            continue;
        }
        QVERIFY2(whole, qPrintable(heard.describe(startsMs.size())));
        QCOMPARE(underflows, 0);
    }
}

void TestSoundCut::secondSoundCutsTheFirstWithoutAStep()
{
    const int rate = ui::SoundMixer::SampleRate;
    const QByteArray steady = testing::makeWav(1, rate, 16, rate, [](int, int) { return kLevel; });
    const QByteArray tone = testing::makeWav(1, rate, 16, rate / 2, [rate](int f, int) {
        return int(std::lround(kToneLevel * std::sin(2 * std::numbers::pi * 1000 * f / rate)));
    });

    MonitorRecorder recorder;
    QVERIFY2(recorder.start(20), "parec did not start");
    QVERIFY2(recorder.waitUntilSteady(10000), "the recording does not follow the sink");
    ui::PulseSoundOutput output;
    runEvents(300); // the stream prepared

    output.play(steady);
    runEvents(100);
    output.play(tone);
    runEvents(700);
    QTRY_VERIFY_WITH_TIMEOUT(!output.isPlaying(), 3000); // the tone has ended

    const QList<qint16> s = recorder.stop();
    QVERIFY2(s.size() > msToSamples(250), qPrintable(QStringLiteral("only %1 ms were recorded").arg(s.size() * 1000 / kRate)));

    // Where the steady sound starts, and where it has fallen to half.
    qsizetype start = 0;
    while (start < s.size() && s[start] < kLevel / 2)
        ++start;
    QVERIFY2(start < s.size(), "the first sound never reached the sink");
    qsizetype cut = start + msToSamples(20);
    while (cut < s.size() && mean(s, cut, msToSamples(0.5)) > kLevel / 2.0)
        ++cut;
    const double heldMs = double(cut - start) * 1000 / kRate;
    QVERIFY2(cut + msToSamples(80) < s.size(), "the first sound was never cut");
    // 100 ms after its start the second sound came; the first was ahead by
    // what the stream holds (some 25 ms), and a busy machine delays either.
    QVERIFY2(heldMs > 80 && heldMs < 200, qPrintable(QStringLiteral("the first sound lasted %1 ms").arg(heldMs)));
    QVERIFY2(std::abs(mean(s, start + msToSamples(10), msToSamples(50)) - kLevel) < kLevel / 10.0,
             "the first sound did not play at its level");

    // After the cut and its fade: the tone alone, the steady level gone.
    const qsizetype after = cut + msToSamples(10);
    const double restLevel = mean(s, after, msToSamples(50));
    QVERIFY2(std::abs(restLevel) < kLevel / 20.0,
             qPrintable(QStringLiteral("%1 of the first sound's level of %2 still sounds after the cut")
                            .arg(restLevel).arg(kLevel)));
    const double toneRms = rms(s, after, msToSamples(50));
    QVERIFY2(std::abs(toneRms - kToneLevel / std::numbers::sqrt2) < kToneLevel / 5.0,
             qPrintable(QStringLiteral("the second sound plays at %1 RMS").arg(toneRms)));

    // No step at the cut: sample to sample, nothing moves faster than the
    // tone itself does (1 kHz at its peak moves kToneLevel * 2 pi / 44.1
    // per sample); stopping dead would move by up to kLevel at once.
    const double toneStep = kToneLevel * 2 * std::numbers::pi * 1000 / kRate;
    int largest = 0;
    for (qsizetype i = cut - msToSamples(10); i < cut + msToSamples(10); ++i)
        largest = std::max(largest, std::abs(int(s[i + 1]) - int(s[i])));
    QVERIFY2(largest < 1.5 * toneStep,
             qPrintable(QStringLiteral("a jump of %1 at the cut (the tone itself moves by %2)").arg(largest).arg(toneStep)));
}

// The sound server goes away mid-game and comes back: meanwhile the game
// plays on in silence, and the next sound after its return is heard whole.
void TestSoundCut::serverRestartedMidGame()
{
    const QByteArray marked = markedSound();
    ui::PulseSoundOutput output;
    runEvents(300);
    QTRY_VERIFY_WITH_TIMEOUT(output.hasStream(), 3000);

    m_server.stop();
    QTRY_VERIFY_WITH_TIMEOUT(!output.hasStream(), 3000);
    output.play(marked);
    QTRY_VERIFY_WITH_TIMEOUT(!output.isPlaying(), 3000); // nobody to hear it: dropped

    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    MonitorRecorder recorder;
    QVERIFY2(recorder.start(20), "parec did not start");
    QVERIFY2(recorder.waitUntilSteady(10000), "the recording does not follow the sink");
    output.play(marked);
    runEvents(300);
    QTRY_VERIFY_WITH_TIMEOUT(!output.isPlaying(), 3000);
    const Heard heard = hearMarked(recorder.stop());
    QVERIFY2(heard.sounds.size() == 1 && heard.whole == 1, qPrintable(heard.describe(1)));
}

QTEST_GUILESS_MAIN(TestSoundCut)
#include "tst_soundcut.moc"
