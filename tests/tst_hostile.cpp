// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

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
#include "support/textlayout.h"
#include "ui/gamelabel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextDocument>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QTest>
#include <QTextLayout>

#include <algorithm>

using testing::fileBytes;
using testing::GameDriver;
using testing::setOutLeftToRight;
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

// No control characters and no halves of surrogate pairs.
bool sane(const QString &text)
{
    if (!text.isValidUtf16())
        return false;
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
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

    // The settings file.
    void garbageSettings_data();
    void garbageSettings();
    void strangeStoredDifference_data();
    void strangeStoredDifference();

    // Names typed at the prompt.
    void hostileNames_data();
    void hostileNames();

private:
    QPlainTextEdit *text1() const { return d->window().findChild<QPlainTextEdit *>("Text1"); }
    QString logPath() const { return d->storage.besideExecutable(); }
    QString settings() const { return d->storage.settingsFile(); }
    ui::GameLabel *label(const char *name) const { return d->label(QString::fromLatin1(name)); }
    // The first player wins 23 to 11.
    void playWin()
    {
        d->window().Resetz_Click();
        d->playGame(QList<int>{9, 9, 5} + kZeros, QList<int>{9, 1, 1} + kZeros);
    }
    // 9 to 9.
    void playDraw()
    {
        d->window().Resetz_Click();
        d->playGame(QList<int>{9} + kZeros + QList<int>{0, 0}, QList<int>{0, 9} + kZeros + QList<int>{0});
    }
    // The text of the Highest Record box, split into its lines.
    QStringList recordBox()
    {
        d->dialogs.messages.clear();
        d->window().RecordHigh_Click();
        if (d->dialogs.messages.size() != 1)
            return {};
        return d->dialogs.messages[0].text.split(QStringLiteral("\r\n"));
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
    // A guard against reading without end, not a speed target (the
    // benchmarks keep those): generous enough for a sanitizer build on a
    // busy machine, which has taken over 30 s here.
    QVERIFY2(timer.elapsed() < 90000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
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

void TestHostile::garbageSettings_data()
{
    QTest::addColumn<QByteArray>("stored");
    QRandomGenerator rng(1);
    QByteArray junk(4096, Qt::Uninitialized);
    rng.fillRange(reinterpret_cast<quint32 *>(junk.data()), junk.size() / 4);
    QTest::newRow("binary junk") << junk;
    QTest::newRow("prose") << QByteArray("this is not a settings file\nat all\n");
    QTest::newRow("brackets") << QByteArray("[[[[\n]]]]\n");
    QTest::newRow("NUL bytes") << QByteArray(100, '\0');
    QTest::newRow("a record and garbage") << QByteArray("[Highest%20Record]\nGameTime=then\nScoreDiff=Score Difference = 3\n"
                                                       "[unclosed\n\x01\x02==\xff\n");
}

void TestHostile::garbageSettings()
{
    QFETCH(QByteArray, stored);
    QVERIFY(QDir().mkpath(QFileInfo(settings()).absolutePath()));
    writeFile(settings(), stored);

    // The game is logged; the record cannot be saved, and the players are
    // told so, but the file that stood in the way is not overwritten.
    playWin();
    QCOMPARE(fileBytes(logPath()), winRecord());
    QCOMPARE(d->dialogs.messages.size(), 1);
    QCOMPARE(d->dialogs.messages[0].icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY2(d->dialogs.messages[0].text.contains(settings()), qPrintable(d->dialogs.messages[0].text));
    QCOMPARE(fileBytes(settings()), stored);

    // The box shows what could be read, on its own seven lines or none.
    const QStringList box = recordBox();
    QVERIFY(box == QStringList{QStringLiteral("NO RECORD FOUND TO DISPLAY")} || box.size() == 7);

    // Clearing deletes the log and still leaves the file alone.
    d->dialogs.messages.clear();
    d->window().ClearScores_Click();
    QVERIFY(!QFile::exists(logPath()));
    QCOMPARE(fileBytes(settings()), stored);
    QCOMPARE(d->dialogs.messages.size(), 2);
    QVERIFY2(d->dialogs.messages[1].text.contains(settings()), qPrintable(d->dialogs.messages[1].text));
    QCOMPARE(shownLines(showBoard()).mid(0, 2), kHeader);
}

void TestHostile::strangeStoredDifference_data()
{
    QTest::addColumn<QString>("scoreDiff");
    QTest::addColumn<bool>("beatenBy12");
    QTest::newRow("negative") << QStringLiteral("Score Difference = -5") << true;
    QTest::newRow("1000 digits after the words") << QStringLiteral("Score Difference = ") + QString(1000, u'7') << false;
    QTest::newRow("1000 digits") << QString(1000, u'1') << false; // characters 20 to 22 read 111
    QTest::newRow("1000 digits, small") << QString(19, u'0') + QStringLiteral("011") + QString(978, u'9') << true;
}

void TestHostile::strangeStoredDifference()
{
    QFETCH(QString, scoreDiff);
    QFETCH(bool, beatenBy12);
    const scores::RecordValues old{QStringLiteral("then"), QStringLiteral("A : +(1) = 1"), QStringLiteral("B : +(0) = 0"),
                                   scoreDiff, QStringLiteral("A had won the Game.")};
    QString reason;
    QVERIFY(scores::RecordStore(settings()).save(old, &reason));

    // A draw never takes the record, whatever is stored.
    playDraw();
    QCOMPARE(scores::RecordStore(settings()).values(), old);
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(d->dialogs.messages.value(0).text));
    QCOMPARE(fileBytes(logPath()).count("\r\n"), 12);
    QVERIFY(fileBytes(logPath()).endsWith(winRecord()));

    const QStringList box = recordBox();
    QCOMPARE(box.size(), 7);
    if (beatenBy12) {
        QCOMPARE(box[5], QStringLiteral("Score Difference = 12"));
    } else {
        QCOMPARE(scores::RecordStore(settings()).values(), old);
        QCOMPARE(box[5], scoreDiff); // whole
    }
}

void TestHostile::hostileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("heading");
    QString huge;
    for (int i = 0; i < 50000; ++i)
        huge += QStringLiteral("Ab");
    QTest::newRow("100000 characters") << huge << QStringLiteral("ABABABA's SCORE");
    QTest::newRow("Hebrew") << QStringLiteral("\u05E9\u05E8\u05D4 \u05DB\u05D4\u05DF\u05D9")
                            << QStringLiteral("\u2068\u05E9\u05E8\u05D4 \u05DB\u05D4\u05DF\u2069's SCORE");
    QTest::newRow("Arabic with digits") << QStringLiteral("\u0639\u0644\u064A 42")
                                        << QStringLiteral("\u2068\u0639\u0644\u064A 42\u2069's SCORE");
    const QString smile = QStringLiteral("\U0001F600"), wink = QStringLiteral("\U0001F609");
    QTest::newRow("emoji") << (smile + wink).repeated(4) + QStringLiteral("x")
                           << (smile + wink).repeated(3) + smile + QStringLiteral("'s SCORE");
    // However the family (seven code points joined) is counted, it is never
    // cut inside a code point.
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
    QTest::newRow("joined emoji") << family.repeated(3) << QString();
    QTest::newRow("accents") << QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301")
                             << QStringLiteral("E\u0301E\u0301E\u0301E\u0301E\u0301E\u0301E\u0301's SCORE");
    QTest::newRow("control characters") << QStringLiteral("a\tb\nc\rd") + QChar(0) + QStringLiteral("e\x1b[31m\vf\u0085g\u2028h\u2029")
                                        << QStringLiteral("A B C D's SCORE");
    QTest::newRow("right-to-left override") << QStringLiteral("\u202Eevil")
                                            << QStringLiteral("\u2068\u202EEVIL\u2069's SCORE");
    QTest::newRow("unclosed embedding") << QStringLiteral("\u202Bx\u2067y")
                                        << QStringLiteral("\u2068\u202BX\u2067Y\u2069\u2069's SCORE");
}

void TestHostile::hostileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, heading);
    QElapsedTimer timer;
    timer.start();
    d->dialogs.promptAnswers.enqueue(name);
    d->window().Player1_Click();
    QVERIFY(d->dialogs.messages.isEmpty());

    // The heading: seven whole characters, on one line.
    const QString shownHeading = label("Label7")->text();
    QVERIFY(sane(shownHeading));
    if (heading.isEmpty())
        QVERIFY(shownHeading.endsWith(QStringLiteral("'s SCORE")));
    else
        QCOMPARE(shownHeading, heading);

    // The menu caption: the whole name on one line, and " - Change" after
    // it reads as written.
    const QString caption = d->window().findChild<QAction *>("Player1")->text();
    QVERIFY(sane(caption));
    QVERIFY(caption.endsWith(QStringLiteral(" - Change")));
    QVERIFY(caption.size() >= name.size() + 9);
    QVERIFY(setOutLeftToRight(caption, caption.size() - 9, caption.size()));

    // The log: one record of six lines, the name whole on its lines.
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(d->dialogs.messages.value(0).text));
    const QByteArray log = fileBytes(logPath());
    QCOMPARE(log.count("\r\n"), 6);
    QCOMPARE(log.count('\n'), 6);
    QCOMPARE(log.count('\r'), 6);
    const QString text = QString::fromUtf8(log);
    QCOMPARE(text.toUtf8(), log); // valid UTF-8 throughout
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        QVERIFY(!line.contains(QChar::LineSeparator) && !line.contains(QChar::ParagraphSeparator));
        QVERIFY(std::none_of(line.begin(), line.end(), [](QChar c) {
            return c.category() == QChar::Other_Control && c != QLatin1Char('\t');
        }));
    }
    // The name stands as typed, but for control characters as spaces.
    const QString logged = scores::controlsAsSpaces(name, true);
    QCOMPARE(lines[1], logged + QStringLiteral(" : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23"));
    QCOMPARE(lines[2], QStringLiteral("PLAYER 2 : +(9)+(1)+(1)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 11"));
    QCOMPARE(lines[4], logged + QStringLiteral(" won this game"));

    // The record box: seven lines, the name whole, and what follows the name
    // reads as written.
    const QStringList box = recordBox();
    QCOMPARE(box.size(), 7);
    for (const QString &line : box)
        QVERIFY(sane(line));
    QVERIFY(box[3].size() >= name.size() + 48);
    QVERIFY(box[6].size() >= name.size() + 18);
    QVERIFY(setOutLeftToRight(box[6], box[6].size() - 18, box[6].size()));

    // The board: what follows the name reads as written, and so does the
    // second player's line after the first's.
    QStringList board = shownLines(showBoard());
    QCOMPARE(board.mid(0, 2), kHeader);
    QCOMPARE(board.size(), 2 + 6);
    QVERIFY(board[3].size() >= name.size() + 48);
    QVERIFY(setOutLeftToRight(board[3], board[3].size() - 48, board[3].size()));
    QVERIFY(setOutLeftToRight(board[6], board[6].size() - 14, board[6].size()));
    const QTextDocument *doc = text1()->document();
    const QTextBlock block = doc->findBlock(int(doc->toPlainText().indexOf(QStringLiteral("PLAYER 2 : "))));
    const qsizetype at = block.text().indexOf(QStringLiteral("PLAYER 2 : "));
    QVERIFY(at >= 0);
    QVERIFY(setOutLeftToRight(block.text(), at, at + 11));
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
