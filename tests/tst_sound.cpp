// Which sound each hit and each blink of the banner plays, and a game on a
// machine with no sound at all.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"
#include "ui/modgame.h"
#include "ui/audiosinkoutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>

using testing::GameDriver;
using testing::RecordingSound;

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
};

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
    if (!QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("an audio output is reachable here");

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
    ui::AudioSinkOutput output;
    for (const QByteArray &image : {modGame::wavResource(111), QByteArray(), QByteArray("RIFF????WAVEjunk")}) {
        output.play(image);
        QVERIFY(!output.isPlaying());
    }
}

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
