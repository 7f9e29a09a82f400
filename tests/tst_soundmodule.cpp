// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The sound module: the game's own output loads it once the window is up
// (not while the window is being built), or at the first sound at the
// latest, and then plays through it.

#include "support/gamedriver.h"
#include "ui/modgame.h"
#include "ui/soundoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTest>

using testing::GameDriver;

class TestSoundModule : public QObject
{
    Q_OBJECT
private slots:
    void lookedForBesideTheExecutableFirst();
    void windowLoadsItAfterStart();
    void firstSoundLoadsIt();
    void onlyAPluginOfTheGamesKindLoads();
};

void TestSoundModule::lookedForBesideTheExecutableFirst()
{
    const QStringList paths = ui::ModuleSoundOutput::modulePaths();
    QCOMPARE(paths.size(), 2);
    const QDir exeDir(QCoreApplication::applicationDirPath());
    QCOMPARE(paths.first(), exeDir.filePath("libtavrolin-sound.so"));
    // Then where an installation puts it, found from the executable's
    // folder.
    QVERIFY(paths.at(1).endsWith(QStringLiteral("/tavrolin/libtavrolin-sound.so")));
    QVERIFY(QFileInfo::exists(paths.first())); // the build puts it beside the tests
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

void TestSoundModule::onlyAPluginOfTheGamesKindLoads()
{
    // A library that is not a plugin, and a Qt plugin of another kind, are
    // passed over for the next path.
    const QString qtPlugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    const QString otherPlugin = qtPlugins + QStringLiteral("/platforms/libqoffscreen.so");
    QVERIFY2(QFileInfo::exists(otherPlugin), qPrintable(otherPlugin));
    const QString notAPlugin = QFileInfo(QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6").absoluteFilePath();
    ui::ModuleSoundOutput wrong({notAPlugin, otherPlugin});
    QVERIFY(!wrong.load());
    ui::ModuleSoundOutput right({notAPlugin, otherPlugin, ui::ModuleSoundOutput::modulePaths().first()});
    QVERIFY(right.load());
}

QTEST_MAIN(TestSoundModule)
#include "tst_soundmodule.moc"
