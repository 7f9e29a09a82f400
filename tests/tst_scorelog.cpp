// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The score log on its own: the record's exact bytes, the date, where the
// log lives, appending, and two copies of the game appending at once.

#include "scores/scorelog.h"
#include "scores/storage.h"
#include "support/tempstorage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using scores::FinishedGame;
using testing::fileBytes;
using testing::TempStorage;

namespace {

FinishedGame sampleGame()
{
    FinishedGame g;
    g.gameEndText = QStringLiteral("Scores of Game ending on 07-03-2026 21:05:03");
    g.names = {QStringLiteral("anna"), QStringLiteral("PLAYER 2")};
    g.histories = {QStringLiteral("+(9)+(7)"), QStringLiteral("+(-2)+(0)")};
    g.scoreTexts = {QStringLiteral("16"), QStringLiteral("-2")};
    g.differenceText = QStringLiteral("Score Difference = 18");
    g.outcomeText = QStringLiteral("1");
    return g;
}

// The helper mode: appends `count` records tagged with the writer's id.
int appendRecords(const QString &path, const QString &id, int count)
{
    for (int i = 0; i < count; ++i) {
        FinishedGame g = sampleGame();
        const QString tag = id + QLatin1Char('#') + QString::number(i);
        g.gameEndText += QLatin1Char(' ') + tag;
        g.names = {QStringLiteral("first ") + tag, QStringLiteral("second ") + tag};
        QString reason;
        if (!scores::appendRecord(path, scores::logRecord(g), &reason)) {
            fprintf(stderr, "%s\n", qPrintable(reason));
            return 1;
        }
    }
    return 0;
}

} // namespace

class TestScoreLog : public QObject
{
    Q_OBJECT
private slots:
    void recordBytes();
    void resultLine_data();
    void resultLine();
    void namesWithLineBreaksStayOnOneLine();
    void dateFormat_data();
    void dateFormat();
    void appendingCreatesThenFollows();
    void logPathChoice();
    void appendFailures();
    void twoProcessesAppending();
};

void TestScoreLog::recordBytes()
{
    const QByteArray expected = "Scores of Game ending on 07-03-2026 21:05:03\r\n"
                                "anna : +(9)+(7) = 16\r\n"
                                "PLAYER 2 : +(-2)+(0) = -2\r\n"
                                "Score Difference = 18\r\n"
                                "anna won this game\r\n"
                                "\r\n";
    QCOMPARE(scores::logRecord(sampleGame()), expected);

    // Names are written as UTF-8; an empty first name starts line 2 with " : ".
    FinishedGame g = sampleGame();
    g.names = {QString(), QStringLiteral("Zoë")};
    g.outcomeText = QStringLiteral("2");
    const QList<QByteArray> lines = scores::logRecord(g).split('\n');
    QCOMPARE(lines.size(), 7); // six lines, then nothing after the last LF
    QCOMPARE(lines[1], QByteArray(" : +(9)+(7) = 16\r"));
    QCOMPARE(lines[2], QByteArray("Zo\xc3\xab : +(-2)+(0) = -2\r"));
    QCOMPARE(lines[4], QByteArray("Zo\xc3\xab won this game\r"));
    QCOMPARE(lines[6], QByteArray());
}

void TestScoreLog::resultLine_data()
{
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("line");
    QTest::newRow("first player") << "1" << "anna won this game";
    QTest::newRow("second player") << "2" << "PLAYER 2 won this game";
    QTest::newRow("draw") << "X" << "Nobody won this game";
    QTest::newRow("no outcome shown") << "" << "Nobody won this game";
    QTest::newRow("no third player") << "3" << "Nobody won this game";
}

void TestScoreLog::resultLine()
{
    QFETCH(QString, outcome);
    QFETCH(QString, line);
    FinishedGame g = sampleGame();
    g.outcomeText = outcome;
    const QStringList lines = scores::logLines(g);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[4], line);
    QCOMPARE(lines[5], QString());
}

void TestScoreLog::namesWithLineBreaksStayOnOneLine()
{
    FinishedGame g = sampleGame();
    g.names = {QStringLiteral("an\r\nna"), QStringLiteral("bo\nb\r")};
    g.outcomeText = QStringLiteral("2");
    const QByteArray bytes = scores::logRecord(g);
    QCOMPARE(bytes.count("\r\n"), 6);
    QCOMPARE(bytes.count('\n'), 6);
    QCOMPARE(bytes.count('\r'), 6);
    QVERIFY(bytes.contains("\r\nan  na : +(9)"));
    QVERIFY(bytes.contains("\r\nbo b  won this game\r\n"));
}

void TestScoreLog::dateFormat_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");
    QTest::newRow("evening") << QDateTime(QDate(2026, 3, 7), QTime(21, 5, 3)) << "07-03-2026 21:05:03";
    QTest::newRow("after midnight") << QDateTime(QDate(2025, 1, 2), QTime(0, 0, 9)) << "02-01-2025 00:00:09";
    QTest::newRow("noon") << QDateTime(QDate(1999, 12, 31), QTime(12, 59, 59)) << "31-12-1999 12:59:59";
    QTest::newRow("one pm") << QDateTime(QDate(2030, 10, 10), QTime(13, 0, 0)) << "10-10-2030 13:00:00";
}

void TestScoreLog::dateFormat()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    QCOMPARE(scores::gameEndText(when), QStringLiteral("Scores of Game ending on ") + text);
}

void TestScoreLog::appendingCreatesThenFollows()
{
    TempStorage storage;
    const QString path = storage.besideExecutable();
    const QByteArray first = scores::logRecord(sampleGame());
    FinishedGame g = sampleGame();
    g.outcomeText = QStringLiteral("X");
    const QByteArray second = scores::logRecord(g);

    QString reason;
    QVERIFY2(scores::appendRecord(path, first, &reason), qPrintable(reason));
    QCOMPARE(fileBytes(path), first);
    QVERIFY(fileBytes(path).endsWith("\r\n\r\n"));
    QVERIFY2(scores::appendRecord(path, second, &reason), qPrintable(reason));
    QCOMPARE(fileBytes(path), first + second);

    // A missing data folder is made for the log.
    const QString inData = storage.inDataFolder();
    QVERIFY2(scores::appendRecord(inData, first, &reason), qPrintable(reason));
    QCOMPARE(fileBytes(inData), first);
}

void TestScoreLog::logPathChoice()
{
    TempStorage storage;
    // A writable executable folder keeps the log, existing or not.
    QCOMPARE(scores::scoreLogPath(storage), storage.besideExecutable());
    testing::writeFile(storage.besideExecutable(), "x\r\n");
    QCOMPARE(scores::scoreLogPath(storage), storage.besideExecutable());

    // A folder where the log should be can neither be appended to nor
    // replaced by a new file: the data folder takes over.
    QFile::remove(storage.besideExecutable());
    QVERIFY(QDir().mkpath(storage.besideExecutable()));
    QCOMPARE(scores::scoreLogPath(storage), storage.inDataFolder());

    // An executable folder that cannot exist (its path runs through a
    // regular file; folder permissions would not stop root) falls back too.
    testing::writeFile(storage.root() + "/plainfile", "not a folder");
    storage.exeFolder = storage.root() + "/plainfile/bin";
    QCOMPARE(scores::scoreLogPath(storage), storage.inDataFolder());

    // A log that is a link to a device is still a log that takes writes.
    storage.exeFolder = storage.root() + "/linked";
    QVERIFY(QDir().mkpath(storage.exeFolder));
    QVERIFY(QFile::link("/dev/full", storage.besideExecutable()));
    QCOMPARE(scores::scoreLogPath(storage), storage.besideExecutable());
}

void TestScoreLog::appendFailures()
{
    TempStorage storage;
    const QByteArray record = scores::logRecord(sampleGame());
    QString reason;

    // The path is a folder.
    QVERIFY(QDir().mkpath(storage.besideExecutable()));
    QVERIFY(!scores::appendRecord(storage.besideExecutable(), record, &reason));
    QVERIFY(!reason.isEmpty());

    // A device: the log is a link to /dev/full, which is not written to at
    // all.
    const QString full = storage.root() + "/full";
    QVERIFY(QFile::link("/dev/full", full));
    reason.clear();
    QVERIFY(!scores::appendRecord(full, record, &reason));
    QCOMPARE(reason, QStringLiteral("it is not a regular file"));

    // A folder that cannot be made: its path runs through a regular file.
    testing::writeFile(storage.root() + "/plainfile", "not a folder");
    reason.clear();
    QVERIFY(!scores::appendRecord(storage.root() + "/plainfile/data/TVL_Scores", record, &reason));
    QVERIFY(!reason.isEmpty());

    QVERIFY(scores::logWriteWarning("/x/TVL_Scores", "Is a directory").contains("\"/x/TVL_Scores\": Is a directory"));
}

void TestScoreLog::twoProcessesAppending()
{
    constexpr int perWriter = 500;
    TempStorage storage;
    const QString path = storage.besideExecutable();
    QProcess a, b;
    const QString self = QCoreApplication::applicationFilePath();
    a.start(self, {"--append-records", path, "A", QString::number(perWriter)});
    b.start(self, {"--append-records", path, "B", QString::number(perWriter)});
    QVERIFY(a.waitForFinished(60000));
    QVERIFY(b.waitForFinished(60000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    // Every record is whole: six lines that all carry the same tag, and each
    // writer's records appear once each, in the order it wrote them.
    const QString text = QString::fromUtf8(fileBytes(path));
    QVERIFY(text.endsWith("\r\n\r\n"));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 2 * perWriter * 6);
    QMap<QString, int> next{{"A", 0}, {"B", 0}};
    static const QRegularExpression tagged(QStringLiteral(" ([AB])#(\\d+)$"));
    for (int r = 0; r < lines.size(); r += 6) {
        const QRegularExpressionMatch m = tagged.match(lines[r]);
        QVERIFY2(m.hasMatch(), qPrintable(lines[r]));
        const QString id = m.captured(1);
        const QString tag = id + '#' + m.captured(2);
        QCOMPARE(m.captured(2).toInt(), next[id]++);
        QCOMPARE(lines[r + 1], "first " + tag + " : +(9)+(7) = 16");
        QCOMPARE(lines[r + 2], "second " + tag + " : +(-2)+(0) = -2");
        QCOMPARE(lines[r + 3], QStringLiteral("Score Difference = 18"));
        QCOMPARE(lines[r + 4], "first " + tag + " won this game");
        QCOMPARE(lines[r + 5], QString());
    }
    QCOMPARE(next["A"], perWriter);
    QCOMPARE(next["B"], perWriter);
}

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--append-records") == 0)
        return appendRecords(QString::fromLocal8Bit(argv[2]), QString::fromLatin1(argv[3]), atoi(argv[4]));
    QCoreApplication app(argc, argv);
    TestScoreLog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scorelog.moc"
