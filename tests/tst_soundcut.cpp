// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// A sound cut short by the next one, as the sound server plays it: two
// sounds started 100 ms apart through the real output, recorded from a null
// sink's monitor. The first is a steady level, so that stopping it dead
// would leave a step as high as the level itself wherever the cut falls;
// the second is a 1 kHz tone with no steady part.

#include "support/nullsink.h"
#include "support/wavimage.h"
#include "ui/audiosinkoutput.h"
#include "ui/soundmixer.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

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
    void secondSoundCutsTheFirstWithoutAStep();

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

void runEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

void TestSoundCut::initTestCase()
{
    for (const char *tool : {"pulseaudio", "parec"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is missing (./dev installs it)").arg(QLatin1String(tool))));
    QVERIFY2(m_server.start(), "the private sound server did not start");
}

void TestSoundCut::secondSoundCutsTheFirstWithoutAStep()
{
    const int rate = ui::SoundMixer::SampleRate;
    const QByteArray steady = testing::makeWav(1, rate, 16, rate, [](int, int) { return kLevel; });
    const QByteArray tone = testing::makeWav(1, rate, 16, rate / 2, [rate](int f, int) {
        return int(std::lround(kToneLevel * std::sin(2 * std::numbers::pi * 1000 * f / rate)));
    });

    MonitorRecorder recorder;
    QVERIFY2(recorder.start(2), "parec did not start");
    QVERIFY2(recorder.waitUntilSteady(10000), "the recording does not follow the sink");
    ui::AudioSinkOutput output;
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

QTEST_GUILESS_MAIN(TestSoundCut)
#include "tst_soundcut.moc"
