// Stored files and names that nobody would write on purpose: a score log of
// junk, of one endless line, of NUL bytes, of foreign line ends or without
// its last line end; a settings file of garbage or with a "ScoreDiff" that
// no game wrote; and names that are huge, right-to-left, emoji or control
// characters. Each time the program keeps going, keeps what was stored,
// appends whole records and still shows the board.

#include "scores/players.h"
#include "scores/record.h"
#include "scores/scoreboard.h"
#include "support/gamedriver.h"
#include "support/tempstorage.h"
#include "ui/gamelabel.h"

#include <QAction>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QTest>

using testing::fileBytes;
using testing::GameDriver;
using testing::writeFile;

namespace {

const QList<int> kZeros{0, 0, 0, 0, 0, 0, 0};

// The record of the game playWin() plays on the fake clock, as logged.
QByteArray winRecord(const QByteArray &first = "PLAYER 1", const QByteArray &second = "PLAYER 2")
{
    return "Scores of Game ending on 07-03-2026 21:05:03\r\n" + first
        + " : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23\r\n" + second
        + " : +(9)+(1)+(1)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 11\r\nScore Difference = 12\r\n" + first
        + " won this game\r\n\r\n";
}

// The lines a board text shows, whichever breaks it uses.
QStringList shownLines(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]")));
}

const QStringList kHeader{QStringLiteral("\t\tSCORE BOARD"), QString()};

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // The score log.
    void junkLog_data();
    void junkLog();
    void logWithoutLastLineEnd_data();
    void logWithoutLastLineEnd();

private:
    QPlainTextEdit *text1() const { return d->window().findChild<QPlainTextEdit *>("Text1"); }
    QString logPath() const { return d->storage.besideExecutable(); }
    // The first player wins 23 to 11.
    void playWin()
    {
        d->window().Resetz_Click();
        d->playGame(QList<int>{9, 9, 5} + kZeros, QList<int>{9, 1, 1} + kZeros);
    }
    // Shows the board (hiding it first when it is shown) and returns its text.
    QString showBoard()
    {
        if (!d->window().findChild<QGroupBox *>("Frame4")->isHidden())
            d->window().ScoreBoard_Click();
        d->window().ScoreBoard_Click();
        return text1()->toPlainText();
    }

    std::unique_ptr<GameDriver> d;
};

void TestHostile::init()
{
    d = std::make_unique<GameDriver>();
    d->settleBoard();
    d->dialogs.messages.clear();
}

void TestHostile::cleanup()
{
    d.reset();
}

void TestHostile::junkLog_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("oldLine"); // a line the board must still show
    QRandomGenerator rng(4711);
    QByteArray junk(64 * 1024, Qt::Uninitialized);
    rng.fillRange(reinterpret_cast<quint32 *>(junk.data()), junk.size() / 4);
    junk += "\r\n"; // the last line is ended; see logWithoutLastLineEnd
    QTest::newRow("binary junk") << junk << QString();
    QTest::newRow("one line of 10 MB") << QByteArray(10 * 1024 * 1024, 'x') + "\r\n"
                                       << QString(10 * 1024 * 1024, QLatin1Char('x'));
    QTest::newRow("NUL bytes") << QByteArray("before") + QByteArray(5000, '\0') + QByteArray("after\r\n\0\0\0\r\n", 12)
                               << QString(3, QChar(0));
    QTest::newRow("CR line ends") << QByteArray("old one\rold two\r\r") << QStringLiteral("old two");
    QTest::newRow("LF line ends") << QByteArray("old one\nold two\n\n") << QStringLiteral("old two");
    QTest::newRow("invalid UTF-8") << QByteArray("caf\xe9 \xff\xfe\xc3\r\nhalf a character \xe2\x82\r\nand on\r\n")
                                   << QStringLiteral("and on");
}

void TestHostile::junkLog()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, oldLine);
    writeFile(logPath(), stored);
    QElapsedTimer timer;
    timer.start();

    QCOMPARE(shownLines(showBoard()).mid(0, 2), kHeader);
    playWin();
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(d->dialogs.messages.value(0).text));

    // What was stored stays as it was; the games follow, whole.
    QCOMPARE(fileBytes(logPath()), stored + winRecord() + winRecord());

    // The board still shows, with both games after the old lines.
    const QStringList lines = shownLines(showBoard());
    QCOMPARE(lines.mid(0, 2), kHeader);
    const QStringList game = shownLines(QString::fromUtf8(winRecord())).mid(0, 6);
    QCOMPARE(lines.mid(lines.size() - 12), game + game);
    QVERIFY(oldLine.isEmpty() || lines.contains(oldLine));
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
    qInfo("%lld ms", timer.elapsed());
}

void TestHostile::logWithoutLastLineEnd_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("text") << QByteArray("an old line without its end");
    QTest::newRow("an unfinished record") << winRecord().left(70);
    QTest::newRow("binary") << QByteArray("\x01\x02\xff\x00\x7f", 5);
}

void TestHostile::logWithoutLastLineEnd()
{
    QFETCH(QByteArray, stored);
    writeFile(logPath(), stored);
    playWin();
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(d->dialogs.messages.value(0).text));
    // The old text stays as it is; the first record starts on a line of its
    // own, after a line end that closes the old last line.
    QCOMPARE(fileBytes(logPath()), stored + "\r\n" + winRecord() + winRecord());
    const QStringList lines = shownLines(showBoard());
    const QStringList game = shownLines(QString::fromUtf8(winRecord())).mid(0, 6);
    QCOMPARE(lines.mid(lines.size() - 12), game + game);
    QCOMPARE(lines[lines.size() - 13], shownLines(QString::fromUtf8(stored)).last());
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
