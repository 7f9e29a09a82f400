// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// Which sound each hit and each blink of the banner plays, and a game on a
// machine with no sound at all.

#include "support/gamedriver.h"
#include "support/wavimage.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"
#include "ui/modgame.h"
#include "ui/sound/pulseoutput.h"
#include "ui/sound/soundmixer.h"
#include "ui/sound/wavreader.h"

#include <QTest>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

using testing::GameDriver;
using testing::RecordingSound;
using testing::makeWav;

class TestSound : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void playWavResourceHandsOverTheWholeImage();
    void hitSounds_data();
    void hitSounds();
    void endOfGameSounds();
    void gameWithoutAudioDevice();
    void outputWithoutDeviceIgnoresEverything();
    void mixerConvertsEachFormat_data();
    void mixerConvertsEachFormat();
    void mixerCutFadesOutWithoutAJump();
    void mixerReplacesAndStops();
};

namespace {

using ui::MixerSound;
using ui::SoundMixer;

// Renders `frames` frames of a mono sound; one side, or kNotMono where the sides differ.
constexpr int kNotMono = std::numeric_limits<int>::min();
std::vector<int> renderLeft(SoundMixer &mixer, int frames)
{
    std::vector<qint16> out(size_t(frames) * 2, qint16(12345));
    mixer.render(out.data(), frames);
    std::vector<int> left;
    for (size_t i = 0; i < size_t(frames); ++i)
        left.push_back(out[2 * i] == out[2 * i + 1] ? out[2 * i] : kNotMono);
    return left;
}

} // namespace

void TestSound::initTestCase()
{
    // No sound server for this program, whatever the machine has.
    qputenv("PULSE_SERVER", "unix:/nonexistent/tavrolin-test-no-server");
}

void TestSound::playWavResourceHandsOverTheWholeImage()
{
    RecordingSound sound;
    modGame::setOutput(&sound);
    for (qint16 id : {109, 110, 111}) {
        modGame::PlayWavResource(id);
        QVERIFY(!modGame::WavData.isEmpty());
        QCOMPARE(sound.images.last(), modGame::WavData);
    }
    QCOMPARE(sound.resources(), QList<int>({109, 110, 111}));
    QCOMPARE(modGame::WavData.size(), 96608);

    // A number with no sound behind it plays nothing, which still stops the
    // sound before it.
    modGame::PlayWavResource(105);
    QCOMPARE(sound.images.size(), 4);
    QVERIFY(sound.images.last().isEmpty());
    QVERIFY(modGame::WavData.isEmpty());

    // With no output at all the image is still loaded.
    modGame::setOutput(nullptr);
    modGame::PlayWavResource(110);
    QCOMPARE(modGame::WavData.size(), 4100);
    QCOMPARE(sound.images.size(), 4);
}

void TestSound::hitSounds_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("firstSeries");
    QTest::addColumn<int>("resource");

    for (bool first : {true, false}) {
        const char *series = first ? "Label1" : "Label2";
        QTest::addRow("%s 9", series) << 9 << first << 109;
        QTest::addRow("%s 3", series) << 3 << first << 109;
        QTest::addRow("%s 1", series) << 1 << first << 109;
        QTest::addRow("%s 0", series) << 0 << first << 110;
        QTest::addRow("%s -2", series) << -2 << first << 110;
        QTest::addRow("%s -8", series) << -8 << first << 110;
    }
}

void TestSound::hitSounds()
{
    QFETCH(int, value);
    QFETCH(bool, firstSeries);
    QFETCH(int, resource);

    GameDriver game;
    game.settleBoard();
    // The second player's hit as well as the first player's.
    game.hitValue(value, firstSeries);
    game.hitValue(value, firstSeries);
    QCOMPARE(game.window().state().HitValue, value);
    QCOMPARE(game.sound.resources(), QList<int>({resource, resource}));
    QCOMPARE(modGame::SoundIndex, resource - 100);
}

// The twentieth hit sounds, and the banner's first blink cuts it off at
// once; every later blink plays the banner sound again, and nothing more
// comes after the fifth.
void TestSound::endOfGameSounds()
{
    GameDriver game;
    game.settleBoard();
    game.playGame({9, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    QList<int> expected{109};
    for (int i = 0; i < 18; ++i)
        expected << 110;
    expected << 109 << 111;
    QCOMPARE(game.sound.resources(), expected);

    for (int tick = 0; tick < 4; ++tick)
        game.window().Timer1_Timer();
    QCOMPARE(game.sound.resources().mid(20), QList<int>(5, 111));
    QVERIFY(!game.timer("Timer1")->isRunning());

    // A click on the finished board is refused without a sound.
    game.window().Label1_Click(0);
    QCOMPARE(game.sound.images.size(), 25);
}

// The same game with the window's own output on a machine without sound:
// every display ends as it does with sound, and nothing is said about it.
void TestSound::gameWithoutAudioDevice()
{
    const QList<int> first{9, 7, -2, 0, 5, -8, 1, 3, 0, -6};
    const QList<int> second{-4, 0, 9, 9, 1, -2, 0, 0, 7, 3};
    const QStringList watched{"Label3", "Label4", "Label5", "Label6", "Label8(2)", "Label9(1)", "Label10", "Label17"};

    QStringList withSound, without;
    {
        GameDriver game;
        game.settleBoard();
        game.playGame(first, second);
        for (const QString &name : watched)
            withSound << game.label(name)->text();
        QCOMPARE(game.sound.images.size(), 21);
    }
    {
        GameDriver game(true);
        game.settleBoard();
        game.playGame(first, second);
        for (const QString &name : watched)
            without << game.label(name)->text();
        QVERIFY(game.dialogs.messages.isEmpty());
        QVERIFY(game.bannerPart(0)->isVisibleTo(&game.window()));
        QVERIFY(game.timer("Timer1")->isRunning());
        QCOMPARE(modGame::WavData.size(), 96608); // loaded, though not heard
        auto *output = dynamic_cast<ui::ModuleSoundOutput *>(modGame::output());
        QVERIFY(output);
        QVERIFY(output->isLoaded()); // the hits brought the sound module in
        QVERIFY(!output->isPlaying());
    }
    QCOMPARE(without, withSound);
    QCOMPARE(withSound.at(0), QStringLiteral("23")); // the second player's score
    QCOMPARE(withSound.at(2), QStringLiteral("9"));  // the first player's
}

void TestSound::outputWithoutDeviceIgnoresEverything()
{
    ui::PulseSoundOutput output;
    for (const QByteArray &image : {modGame::wavResource(111), QByteArray(), QByteArray("RIFF????WAVEjunk")}) {
        output.play(image);
        QVERIFY(!output.isPlaying());
    }
}

// Every format the game's sounds come in, and one more rate, play at the
// output rate for exactly their own length (the game's own sounds too):
// 8-bit samples centred on 0, mono on both sides, 11025 Hz doubled with
// midpoints in between.
void TestSound::mixerConvertsEachFormat_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("resource");
    QTest::newRow("8-bit mono 11025 Hz") << 1 << 11025 << 8 << 109;
    QTest::newRow("8-bit mono 22050 Hz") << 1 << 22050 << 8 << 110;
    QTest::newRow("16-bit stereo 22050 Hz") << 2 << 22050 << 16 << 111;
    QTest::newRow("16-bit mono 44100 Hz") << 1 << 44100 << 16 << 0;
}

void TestSound::mixerConvertsEachFormat()
{
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, resource);
    const int frames = 1000;
    auto stored = [bits](int f, int c) { return bits == 8 ? (f * 7 + c * 50) % 256 : (f * 61 + c * 999) % 65536 - 32768; };
    auto level = [&](int f, int c) { return bits == 8 ? (stored(f, c) - 128) * 256 : stored(f, c); };
    const std::optional<MixerSound> sound = MixerSound::fromImage(makeWav(channels, rate, bits, frames, stored));
    QVERIFY(sound);
    QCOMPARE(qint64(sound->frameCount()) * rate, qint64(frames) * SoundMixer::SampleRate);
    for (qsizetype i = 0; i < sound->frameCount(); ++i) {
        const qint64 at = qint64(i) * rate; // in 1/22050 of an input frame
        const int whole = int(at / SoundMixer::SampleRate);
        for (int c = 0; c < 2; ++c) {
            const int channel = channels == 2 ? c : 0;
            int expected = level(whole, channel);
            if (at % SoundMixer::SampleRate != 0 && whole + 1 < frames)
                expected = (expected + level(whole + 1, channel)) / 2;
            QVERIFY2(std::abs(sound->frame(i)[size_t(c)] - expected) <= 1, qPrintable(QString::number(i)));
        }
    }
    if (resource) {
        const QByteArray image = modGame::wavResource(qint16(resource));
        const std::optional<ui::WavInfo> info = ui::readWav(image);
        const std::optional<MixerSound> game = MixerSound::fromImage(image);
        QVERIFY(info && game);
        QCOMPARE(qint64(game->frameCount()) * info->sampleRate, info->playableSize / info->blockAlign * SoundMixer::SampleRate);
    }
}

// A full-scale wave cut at its crest: it goes on for the fade, falling to 0
// with no step much above the wave's own, then the new sound plays from its
// first frame. The old image goes as the fade ends, the new one stays
// until its last frame has been given.
void TestSound::mixerCutFadesOutWithoutAJump()
{
    for (int i = 1; i < SoundMixer::FadeFrames; ++i)
        QVERIFY(SoundMixer::fadeGain(i) < SoundMixer::fadeGain(i - 1));
    QCOMPARE(SoundMixer::fadeGain(SoundMixer::FadeFrames - 1), 0);

    const int period = 200; // 110.25 Hz
    QByteArray wave = makeWav(1, SoundMixer::SampleRate, 16, 20 * period, [](int f, int) {
        return int(std::lround(32767 * std::sin(2 * std::numbers::pi * f / period)));
    });
    QByteArray next = makeWav(1, 11025, 8, 300, [](int f, int) { return 108 + f % 40; });
    const QByteArray oldImage = wave, newImage = next;
    auto copy = [](const QByteArray &b) { return MixerSound::fromImage(QByteArray(b.constData(), b.size())); };
    const std::optional<MixerSound> unfaded = copy(wave), expected = copy(next);
    SoundMixer mixer;
    mixer.play(MixerSound::fromImage(wave));
    std::vector<int> out = renderLeft(mixer, 3 * period + period / 4);
    QVERIFY(out.back() > 32700);
    wave = next = QByteArray(); // the caller lets go, as modGame does
    mixer.play(MixerSound::fromImage(newImage));
    const std::vector<int> fade = renderLeft(mixer, SoundMixer::FadeFrames - 1);
    QVERIFY(!oldImage.isDetached()); // still fading out
    const std::vector<int> after = renderLeft(mixer, 601); // the rest of the fade, all of the new sound
    QVERIFY(oldImage.isDetached());
    QVERIFY(!newImage.isDetached());

    int ownStep = 0, step = 0;
    for (size_t i = 1; i < out.size(); ++i)
        ownStep = std::max(ownStep, std::abs(out[i] - out[i - 1]));
    out.insert(out.end(), fade.begin(), fade.end());
    out.insert(out.end(), after.begin(), after.end());
    const size_t cut = size_t(3 * period + period / 4);
    for (size_t j = 0; j < size_t(SoundMixer::FadeFrames); ++j)
        QVERIFY(std::abs(out[cut + j] - unfaded->frame(qsizetype(cut + j))[0] * SoundMixer::fadeGain(int(j)) / 32768) <= 1);
    for (size_t i = 1; i < cut + SoundMixer::FadeFrames; ++i)
        step = std::max(step, std::abs(out[i] - out[i - 1]));
    QVERIFY2(step <= ownStep + 32768 * std::numbers::pi / (2 * SoundMixer::FadeFrames) + 1,
             qPrintable(QStringLiteral("step %1, the wave's own %2").arg(step).arg(ownStep)));
    for (qsizetype k = 0; k < expected->frameCount(); ++k)
        QCOMPARE(out[cut + size_t(SoundMixer::FadeFrames + k)], int(expected->frame(k)[0]));
    renderLeft(mixer, 1); // past its end
    QVERIFY(newImage.isDetached());
    QVERIFY(!mixer.isSounding());
}

// A sound replaced before it gave a frame goes without a fade; one played
// during a fade waits for it; an unplayable image only stops the sound
// before it; a sound ends in silence.
void TestSound::mixerReplacesAndStops()
{
    auto level = [](int value) { return MixerSound::fromImage(makeWav(1, 22050, 16, 500, [value](int, int) { return value; })); };
    SoundMixer mixer;
    QVERIFY(!mixer.isSounding());
    mixer.play(level(1000));
    mixer.play(level(2000));
    QCOMPARE(renderLeft(mixer, 1).front(), 2000);

    mixer.play(level(1000)); // cuts 2000, fading
    std::vector<int> out = renderLeft(mixer, 10);
    mixer.play(level(3000)); // 1000 never starts
    const std::vector<int> rest = renderLeft(mixer, SoundMixer::FadeFrames + 600);
    out.insert(out.end(), rest.begin(), rest.end());
    QCOMPARE(out[SoundMixer::FadeFrames - 1], 0);
    QCOMPARE(out[SoundMixer::FadeFrames], 3000);
    QCOMPARE(out[SoundMixer::FadeFrames + 499], 3000);
    QCOMPARE(out[SoundMixer::FadeFrames + 500], 0);
    QVERIFY(!mixer.isSounding());

    mixer.play(level(1000));
    renderLeft(mixer, 100);
    mixer.play(MixerSound::fromImage(QByteArray("RIFF????WAVEjunk")));
    QVERIFY(mixer.isSounding());
    QCOMPARE(renderLeft(mixer, SoundMixer::FadeFrames + 100).back(), 0);
    QVERIFY(!mixer.isSounding());
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
