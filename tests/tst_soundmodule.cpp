// The sound module: the game's own output loads it once the window is up
// (not while the window is being built), or at the first sound at the
// latest, and then plays through it.

#include "support/gamedriver.h"
#include "ui/modgame.h"
#include "ui/soundoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <algorithm>

using testing::GameDriver;

class TestSoundModule : public QObject
{
    Q_OBJECT
private slots:
    void lookedForBesideTheExecutableFirst();
    void windowLoadsItAfterStart();
    void firstSoundLoadsIt();
};

void TestSoundModule::lookedForBesideTheExecutableFirst()
{
    const QStringList paths = ui::ModuleSoundOutput::modulePaths();
    QVERIFY(paths.size() >= 2);
    QCOMPARE(paths.first(), QDir(QCoreApplication::applicationDirPath()).filePath("libtavrolin-sound.so"));
    // The built module is always among the places looked at.
    QVERIFY(std::any_of(paths.begin(), paths.end(), [](const QString &p) { return QFileInfo::exists(p); }));
}

void TestSoundModule::windowLoadsItAfterStart()
{
    GameDriver game(true);
    auto *output = dynamic_cast<ui::ModuleSoundOutput *>(modGame::output());
    QVERIFY(output);
    QVERIFY(!output->isLoaded()); // building the window leaves it alone
    QTRY_VERIFY_WITH_TIMEOUT(output->isLoaded(), 5000);
    QVERIFY(!output->isPlaying());
}

void TestSoundModule::firstSoundLoadsIt()
{
    ui::ModuleSoundOutput output;
    QVERIFY(!output.isLoaded());
    QVERIFY(!output.isPlaying());
    output.play(QByteArray("RIFF????WAVEjunk")); // not playable, but the module is in
    QVERIFY(output.isLoaded());
    QVERIFY(!output.isPlaying());
    QVERIFY(output.load()); // once is enough
}

QTEST_MAIN(TestSoundModule)
#include "tst_soundmodule.moc"
