// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The highest record on its own: reading the stored difference, when a game
// replaces the record, the box texts, and the settings file it lives in.

#include "scores/record.h"
#include "support/tempstorage.h"

#include <QSettings>
#include <QTest>

using scores::RecordStore;
using scores::RecordValues;
using scores::Removal;
using testing::TempStorage;

namespace {

scores::FinishedGame game(const QString &outcome)
{
    scores::FinishedGame g;
    g.gameEndText = QStringLiteral("Scores of Game ending on 07-03-2026 21:05:03");
    g.names = {QStringLiteral("anna"), QStringLiteral("Bob")};
    g.histories = {QStringLiteral("+(9)"), QStringLiteral("+(-8)")};
    g.scoreTexts = {QStringLiteral("9"), QStringLiteral("-8")};
    g.differenceText = QStringLiteral("Score Difference = 17");
    g.outcomeText = outcome;
    return g;
}

} // namespace

class TestRecord : public QObject
{
    Q_OBJECT
private slots:
    void storedDifference_data();
    void storedDifference();
    void replacing_data();
    void replacing();
    void savedTexts();
    void boxTexts();
    void storeRoundTrip();
    void storeRemoval();
    void saveFailure();
};

void TestRecord::storedDifference_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("difference");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one digit") << "Score Difference = 7" << 7;
    QTest::newRow("two digits") << "Score Difference = 15" << 15;
    QTest::newRow("three digits") << "Score Difference = 123" << 123;
    QTest::newRow("only three are read") << "Score Difference = 1234" << 123;
    QTest::newRow("no number") << "Score Difference = abc" << 0;
    QTest::newRow("shorter than the prefix") << "Score" << 0;
    QTest::newRow("number cut short") << "Score Difference = 4x9" << 4;
}

void TestRecord::storedDifference()
{
    QFETCH(QString, text);
    QFETCH(int, difference);
    QCOMPARE(int(scores::recordDifference(text)), difference);
}

void TestRecord::replacing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("difference");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("replaces");
    QTest::newRow("nothing stored, difference 1") << "" << 1 << "1" << true;
    QTest::newRow("nothing stored, draw") << "" << 0 << "X" << false;
    QTest::newRow("equal") << "Score Difference = 15" << 15 << "2" << false;
    QTest::newRow("larger") << "Score Difference = 15" << 16 << "2" << true;
    QTest::newRow("smaller") << "Score Difference = 15" << 14 << "1" << false;
    // 100 against 99 only works when all three digits are read.
    QTest::newRow("three digits stored") << "Score Difference = 100" << 99 << "1" << false;
    QTest::newRow("three digits beat") << "Score Difference = 100" << 101 << "1" << true;
    QTest::newRow("stored text without a number") << "Score Difference = ??" << 1 << "1" << true;
    QTest::newRow("no winner shown") << "" << 5 << "" << false;
}

void TestRecord::replacing()
{
    QFETCH(QString, stored);
    QFETCH(int, difference);
    QFETCH(QString, outcome);
    QFETCH(bool, replaces);
    QCOMPARE(scores::replacesRecord(stored, qint16(difference), outcome), replaces);
}

void TestRecord::savedTexts()
{
    const RecordValues first = scores::recordValues(game("1"));
    QCOMPARE(first, (RecordValues{"Scores of Game ending on 07-03-2026 21:05:03", "anna : +(9) = 9", "Bob : +(-8) = -8",
                                  "Score Difference = 17", "anna had won the Game."}));
    QCOMPARE(scores::recordValues(game("2"))[4], QStringLiteral("Bob had won the Game."));

    // Names stand in the record as typed, control characters as spaces
    // (as in the log), tabs kept; right-to-left names without any mark.
    scores::FinishedGame g = game("1");
    g.names[0] = QStringLiteral("an\nna\t\u05E9\u05E8\u05D4");
    QCOMPARE(scores::recordValues(g)[4], QStringLiteral("an na\t\u05E9\u05E8\u05D4 had won the Game."));
    QCOMPARE(scores::recordValues(g)[1], QStringLiteral("an na\t\u05E9\u05E8\u05D4 : +(9) = 9"));
}

void TestRecord::boxTexts()
{
    const RecordValues full{"T", "P1", "P2", "D", "R"};
    QCOMPARE(scores::recordMessage(full),
             QStringLiteral("        HIGHEST RECORD OF THE GAME\r\n\r\nT\r\nP1\r\nP2\r\nD\r\nR"));
    // Only "GameTime" decides whether there is a record.
    QCOMPARE(scores::recordMessage({"", "P1", "P2", "D", "R"}), QStringLiteral("NO RECORD FOUND TO DISPLAY"));
    QCOMPARE(scores::recordMessage({"T", "", "", "", ""}),
             QStringLiteral("        HIGHEST RECORD OF THE GAME\r\n\r\nT\r\n\r\n\r\n\r\n"));
}

void TestRecord::storeRoundTrip()
{
    TempStorage storage;
    const RecordStore store(storage.settingsFile());
    QCOMPARE(store.values(), RecordValues{});
    QCOMPARE(store.value("ScoreDiff"), QString());

    // Texts that INI files treat specially come back as they went in.
    const RecordValues awkward{"Scores of Game ending on 01-02-2026 03:04:05",
                               "Smith, John ; \"quoted\" = back\\slash : +(9) = 9",
                               "@first [x] #hash : +(-8) = -8",
                               "Score Difference = 17",
                               " leading space had won the Game.\r\nsecond line"};
    QString reason;
    QVERIFY2(store.save(awkward, &reason), qPrintable(reason));
    QCOMPARE(RecordStore(storage.settingsFile()).values(), awkward);

    // The section is the one named "Highest Record", space and all, under
    // the five keys, as any reader of the file sees it.
    QSettings reader(storage.settingsFile(), QSettings::IniFormat);
    QCOMPARE(reader.childGroups(), QStringList{"Highest Record"});
    reader.beginGroup("Highest Record");
    QCOMPARE(reader.childKeys(), (QStringList{"GameResult", "GameTime", "Player1", "Player2", "ScoreDiff"}));
    QCOMPARE(reader.value("Player1").toString(), awkward[1]);
}

void TestRecord::storeRemoval()
{
    TempStorage storage;
    const RecordStore store(storage.settingsFile());
    QString reason;
    QCOMPARE(store.remove(&reason), Removal::NotFound); // no file at all

    // Other sections of the same file stay.
    {
        QSettings other(storage.settingsFile(), QSettings::IniFormat);
        other.setValue("Other/key", "kept");
    }
    QCOMPARE(store.remove(&reason), Removal::NotFound);
    QVERIFY(store.save({"T", "P1", "P2", "Score Difference = 3", "R"}, &reason));
    QCOMPARE(store.remove(&reason), Removal::Removed);
    QCOMPARE(RecordStore(storage.settingsFile()).values(), RecordValues{});
    QCOMPARE(store.remove(&reason), Removal::NotFound);
    QSettings reader(storage.settingsFile(), QSettings::IniFormat);
    QCOMPARE(reader.childGroups(), QStringList{"Other"});
    QCOMPARE(reader.value("Other/key").toString(), QStringLiteral("kept"));
}

void TestRecord::saveFailure()
{
    // The settings folder cannot exist: its path runs through a regular
    // file (as root, permissions would not stop the write).
    TempStorage storage;
    testing::writeFile(storage.root() + "/plainfile", "not a folder");
    const QString file = storage.root() + "/plainfile/tavrolin.conf";
    const RecordStore store(file);
    QString reason;
    QVERIFY(!store.save({"T", "P1", "P2", "Score Difference = 3", "R"}, &reason));
    QVERIFY(!reason.isEmpty());
    // What failed is not read back as if it had been saved.
    QCOMPARE(RecordStore(file).values(), RecordValues{});
    QVERIFY(scores::recordSaveWarning(file, reason).contains(file));
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
