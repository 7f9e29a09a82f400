// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// Scores through the window's real handlers: whole games logged and
// recorded, the Highest Record box, the score board, clearing, and the
// players' names.

#include "scores/record.h"
#include "scores/scoreboard.h"
#include "support/gamedriver.h"
#include "support/tempstorage.h"
#include "ui/gamelabel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>

using testing::FakeDialogs;
using testing::fileBytes;
using testing::GameDriver;
using Icon = ui::Dialogs::Icon;

namespace {

const QList<int> kZeros{0, 0, 0, 0, 0, 0, 0};

// What the text box shows for a board text: its lines, whatever line ends
// the text used.
QStringList shownLines(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t.split(QLatin1Char('\n'));
}

QString record(const QString &when, const QString &first, const QString &second, int difference,
               const QString &result)
{
    return "Scores of Game ending on " + when + "\r\n" + first + "\r\n" + second + "\r\nScore Difference = "
        + QString::number(difference) + "\r\n" + result + "\r\n\r\n";
}

} // namespace

class TestScores : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void gamesAreLoggedAndRecorded();
    void abandonedGameLeavesNothing();
    void highestRecordBox();

    void boardText();
    void boardShowAndHide();
    void boardSnapshotWhileShown();
    void boardHiddenByDoubleClick();

    void clearAnsweredNo();
    void clearCases_data();
    void clearCases();
    void clearTwiceAndWhileShown();

    void nameAccepted();
    void nameRefused();
    void emptyNames();
    void ampersandInName();

private:
    ui::GameLabel *label(const char *name) const { return d->label(QString::fromLatin1(name)); }
    QAction *action(const char *name) const { return d->window().findChild<QAction *>(QString::fromLatin1(name)); }
    QPlainTextEdit *text1() const { return d->window().findChild<QPlainTextEdit *>("Text1"); }
    QGroupBox *frame4() const { return d->window().findChild<QGroupBox *>("Frame4"); }
    QString logPath() const { return d->storage.besideExecutable(); }
    scores::RecordValues stored() const { return scores::RecordStore(d->storage.settingsFile()).values(); }
    // First player 23, second 11: the first wins by 12.
    void playFirstWinsBy12()
    {
        d->playGame(QList<int>{9, 9, 5} + kZeros, QList<int>{9, 1, 1} + kZeros);
    }
    // First player -4, second 3: the second wins by 7.
    void playSecondWinsBy7()
    {
        d->playGame(QList<int>{-4, 0, 0} + kZeros, QList<int>{3, 0, 0} + kZeros);
    }

    std::unique_ptr<GameDriver> d;
};

void TestScores::init()
{
    d = std::make_unique<GameDriver>();
    d->settleBoard();
    d->dialogs.messages.clear();
}

void TestScores::cleanup()
{
    d.reset();
}

void TestScores::gamesAreLoggedAndRecorded()
{
    d->clock.dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    playFirstWinsBy12();
    QCOMPARE(label("Label10")->text(), QStringLiteral("Score Difference = 12"));
    const QString first = record("02-01-2026 03:04:05", "PLAYER 1 : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23",
                                 "PLAYER 2 : +(9)+(1)+(1)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 11", 12,
                                 "PLAYER 1 won this game");
    QCOMPARE(QString::fromUtf8(fileBytes(logPath())), first);
    const scores::RecordValues firstRecord{"Scores of Game ending on 02-01-2026 03:04:05",
                                           "PLAYER 1 : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23",
                                           "PLAYER 2 : +(9)+(1)+(1)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 11",
                                           "Score Difference = 12", "PLAYER 1 had won the Game."};
    QCOMPARE(stored(), firstRecord);

    // The same difference again: logged, but the older record stays.
    d->window().Resetz_Click();
    d->clock.dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 10, 0));
    playFirstWinsBy12();
    QCOMPARE(stored(), firstRecord);

    // A smaller difference won by the second player: logged, record stays.
    d->window().Resetz_Click();
    d->clock.dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 20, 0));
    playSecondWinsBy7();
    QCOMPARE(stored(), firstRecord);

    // A draw: "Nobody won this game", no record.
    d->window().Resetz_Click();
    d->clock.dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 30, 0));
    d->playGame(QList<int>{5, 0, 0} + kZeros, QList<int>{5, 0, 0} + kZeros);
    QCOMPARE(label("Label9(1)")->text(), QStringLiteral("X"));
    QCOMPARE(stored(), firstRecord);

    // A larger difference won by a renamed second player replaces all five.
    d->dialogs.promptAnswers.enqueue("bob");
    d->window().Player2_Click();
    d->clock.dateTime = QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59));
    d->playGame(QList<int>{-8, -8, -8} + kZeros, QList<int>{9, 9, 9} + kZeros);
    const scores::RecordValues best{"Scores of Game ending on 02-01-2026 23:59:59",
                                    "PLAYER 1 : +(-8)+(-8)+(-8)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = -24",
                                    "bob : +(9)+(9)+(9)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 27", "Score Difference = 51",
                                    "bob had won the Game."};
    QCOMPARE(stored(), best);

    const QString log = QString::fromUtf8(fileBytes(logPath()));
    QVERIFY(log.startsWith(first + "Scores of Game ending on 02-01-2026 03:10:00\r\n"));
    QVERIFY(log.contains("\r\nPLAYER 2 won this game\r\n\r\nScores of Game ending on 02-01-2026 03:30:00\r\n"));
    QVERIFY(log.contains("\r\nScore Difference = 0\r\nNobody won this game\r\n\r\n"));
    QVERIFY(log.endsWith("\r\nbob : +(9)+(9)+(9)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 27\r\nScore Difference = 51\r\n"
                         "bob won this game\r\n\r\n"));
    QCOMPARE(log.count("\r\n"), 5 * 6);
    QCOMPARE(d->dialogs.messages.size(), 0); // nothing went wrong
}

void TestScores::abandonedGameLeavesNothing()
{
    for (int i = 0; i < 19; ++i)
        d->hitValue(9, i % 2 == 0);
    d->window().Resetz_Click();
    QVERIFY(!QFile::exists(logPath()));
    QCOMPARE(stored(), scores::RecordValues{});
}

void TestScores::highestRecordBox()
{
    d->window().RecordHigh_Click();
    QCOMPARE(d->dialogs.messages.size(), 1);
    QCOMPARE(d->dialogs.messages[0].text, QStringLiteral("NO RECORD FOUND TO DISPLAY"));
    QCOMPARE(d->dialogs.messages[0].icon, Icon::Information);
    QCOMPARE(d->dialogs.messages[0].title, QString()); // the application title

    // After a game the box lists the record under the heading.
    playSecondWinsBy7();
    action("RecordHigh")->trigger();
    QCOMPARE(d->dialogs.messages.size(), 2);
    QCOMPARE(d->dialogs.messages[1].text, scores::recordMessage(stored()));
    QVERIFY(d->dialogs.messages[1].text.endsWith("\r\nScore Difference = 7\r\nPLAYER 2 had won the Game."));

    // "GameTime" alone decides: missing, the others do not count.
    {
        QSettings s(d->storage.settingsFile(), QSettings::IniFormat);
        s.remove("Highest Record/GameTime");
    }
    d->window().RecordHigh_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("NO RECORD FOUND TO DISPLAY"));
}

void TestScores::boardText()
{
    // The board's line breaks written out as CR LF.
    const auto crLf = [](const QByteArray &log) {
        QString text = scores::boardText(log);
        text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
        return text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    };
    const QString header = "\t\tSCORE BOARD\r\n";
    QCOMPARE(scores::boardHeader(), header);
    QCOMPARE(crLf({}), header);
    QCOMPARE(crLf("a\r\nb\r\n\r\n"), header + "\r\na\r\nb\r\n");
    // Lone line ends, and a last line without one.
    QCOMPARE(crLf("a\nb\rc"), header + "\r\na\r\nb\r\nc");
    // Bytes that are not UTF-8 still show, as replacement characters.
    QCOMPARE(crLf("Zo\xeb\r\n"), header + "\r\nZo\uFFFD");
    QCOMPARE(scores::readBoardText(d->storage.root() + "/missing"), header);

    // Paragraphs hold whole games: a few short games make one paragraph;
    // many games are cut only after a game's empty line, once a paragraph
    // has 24 lines; a log without empty lines is cut every 64 lines.
    QCOMPARE(scores::boardText("1\r\n2\r\n\r\n3\r\n4\r\n\r\n").count(QLatin1Char('\n')), 0);
    QByteArray games;
    for (int i = 0; i < 50; ++i)
        games += "a" + QByteArray::number(i) + "\r\nb\r\nc\r\nd\r\ne\r\n\r\n"; // six lines a game
    const QStringList gameParagraphs = scores::boardText(games).split(QLatin1Char('\n'));
    QCOMPARE(gameParagraphs.size(), 13); // 300 lines and the header's: 4 games (24 lines) a paragraph
    for (qsizetype p = 1; p < gameParagraphs.size(); ++p)
        QVERIFY2(gameParagraphs[p].startsWith(QLatin1Char('a')), qPrintable(gameParagraphs[p].left(10)));
    QByteArray noGaps;
    for (int i = 0; i < 1000; ++i)
        noGaps += QByteArray::number(i) + "\r\n";
    const QStringList paragraphs = scores::boardText(noGaps).split(QLatin1Char('\n'));
    QCOMPARE(paragraphs.size(), 16); // 1001 lines, 64 a paragraph
    for (const QString &paragraph : paragraphs)
        QVERIFY(paragraph.count(QChar(QChar::LineSeparator)) < 64);
}

void TestScores::boardShowAndHide()
{
    QAction *menu = action("ScoreBoard");
    QCOMPARE(menu->text(), QStringLiteral("&Show ScoreBoard"));
    QVERIFY(frame4()->isHidden());

    // No log: the header alone, and no message.
    menu->trigger();
    QVERIFY(!frame4()->isHidden());
    QCOMPARE(menu->text(), QStringLiteral("&Hide ScoreBoard"));
    QCOMPARE(shownLines(text1()->toPlainText()), (QStringList{"\t\tSCORE BOARD", ""}));
    QCOMPARE(d->dialogs.messages.size(), 0);

    menu->trigger();
    QVERIFY(frame4()->isHidden());
    QCOMPARE(menu->text(), QStringLiteral("&Show ScoreBoard"));

    // Two games: header, an empty line, then both records line by line.
    playFirstWinsBy12();
    d->window().Resetz_Click();
    playSecondWinsBy7();
    menu->trigger();
    const QStringList lines = shownLines(text1()->toPlainText());
    QStringList expected{"\t\tSCORE BOARD", ""};
    expected += shownLines(QString::fromUtf8(fileBytes(logPath())));
    expected.removeLast(); // the file's last CR LF ends its last line
    QCOMPARE(lines, expected);
    QCOMPARE(lines.size(), 2 + 12);
    QCOMPARE(lines[2], QStringLiteral("Scores of Game ending on 07-03-2026 21:05:03"));
    QCOMPARE(lines[7], QString());
    QCOMPARE(lines[12], QStringLiteral("PLAYER 2 won this game"));

    // Hiding by the menu drops the text back to the header.
    menu->trigger();
    QVERIFY(frame4()->isHidden());
    QCOMPARE(shownLines(text1()->toPlainText()), (QStringList{"\t\tSCORE BOARD", ""}));
}

void TestScores::boardSnapshotWhileShown()
{
    playFirstWinsBy12();
    d->window().ScoreBoard_Click();
    const QString snapshot = text1()->toPlainText();
    d->window().Resetz_Click();
    playSecondWinsBy7();
    QCOMPARE(text1()->toPlainText(), snapshot);
    d->window().ScoreBoard_Click();
    d->window().ScoreBoard_Click();
    QVERIFY(text1()->toPlainText().startsWith(snapshot));
    QVERIFY(text1()->toPlainText().contains("PLAYER 2 won this game"));
}

void TestScores::boardHiddenByDoubleClick()
{
    d->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&d->window()));
    playFirstWinsBy12();
    d->window().ScoreBoard_Click();
    QVERIFY(text1()->isVisible());
    QTest::mouseDClick(text1()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(frame4()->isHidden());
    QCOMPARE(action("ScoreBoard")->text(), QStringLiteral("&Show ScoreBoard"));
    QCOMPARE(shownLines(text1()->toPlainText()), (QStringList{"\t\tSCORE BOARD", ""}));
}

void TestScores::clearAnsweredNo()
{
    playFirstWinsBy12();
    d->window().ScoreBoard_Click();
    const QByteArray log = fileBytes(logPath());
    const scores::RecordValues record = stored();
    const QString board = text1()->toPlainText();

    d->dialogs.answers.enqueue(ui::Dialogs::Answer::No);
    action("ClearScores")->trigger();
    QCOMPARE(d->dialogs.messages.size(), 1); // the question only
    const testing::ShownMessage &question = d->dialogs.messages[0];
    QCOMPARE(question.text, QStringLiteral("ALL previous score entries will be deleted permanently, are you sure?"));
    QCOMPARE(question.icon, Icon::Critical);
    QCOMPARE(question.buttons, ui::Dialogs::Buttons::YesNo);
    QCOMPARE(fileBytes(logPath()), log);
    QCOMPARE(stored(), record);
    QCOMPARE(text1()->toPlainText(), board);
}

void TestScores::clearCases_data()
{
    QTest::addColumn<bool>("log");
    QTest::addColumn<bool>("record");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    const QString cleared = "All Records Cleared Successfully.";
    QTest::newRow("both") << true << true << cleared << int(Icon::Information);
    QTest::newRow("log only") << true << false << cleared << int(Icon::Information);
    QTest::newRow("record only") << false << true << cleared << int(Icon::Information);
    QTest::newRow("neither") << false << false << "No Score Records found to Clear." << int(Icon::Exclamation);
}

void TestScores::clearCases()
{
    QFETCH(bool, log);
    QFETCH(bool, record);
    QFETCH(QString, message);
    QFETCH(int, icon);
    if (log)
        testing::writeFile(logPath(), "a game\r\n");
    if (record) {
        QString reason;
        QVERIFY(scores::RecordStore(d->storage.settingsFile()).save({"T", "P1", "P2", "D", "R"}, &reason));
    }
    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.size(), 2);
    QCOMPARE(d->dialogs.messages[1].text, message);
    QCOMPARE(int(d->dialogs.messages[1].icon), icon);
    QVERIFY(!QFile::exists(logPath()));
    QCOMPARE(stored(), scores::RecordValues{});
}

void TestScores::clearTwiceAndWhileShown()
{
    playFirstWinsBy12();
    d->window().ScoreBoard_Click();
    QVERIFY(shownLines(text1()->toPlainText()).size() > 2);

    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("All Records Cleared Successfully."));
    QVERIFY(!frame4()->isHidden());
    QCOMPARE(action("ScoreBoard")->text(), QStringLiteral("&Hide ScoreBoard"));
    QCOMPARE(shownLines(text1()->toPlainText()), (QStringList{"\t\tSCORE BOARD", ""}));

    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("No Score Records found to Clear."));

    // The next game starts both again.
    d->window().Resetz_Click();
    playSecondWinsBy7();
    QVERIFY(QFile::exists(logPath()));
    QCOMPARE(stored()[4], QStringLiteral("PLAYER 2 had won the Game."));
}

void TestScores::nameAccepted()
{
    d->hitValue(9);
    d->dialogs.promptAnswers.enqueue("anna");
    action("Player1")->trigger();
    QCOMPARE(d->dialogs.prompts.size(), 1);
    QCOMPARE(d->dialogs.prompts[0].prompt, QStringLiteral("ENTER FIRST PLAYER NAME"));
    QCOMPARE(d->dialogs.prompts[0].title, QStringLiteral("Play Tavrolin"));
    QCOMPARE(d->window().state().PlayerName[0], QStringLiteral("anna"));
    QCOMPARE(action("Player1")->text(), QStringLiteral("anna - Change"));
    QCOMPARE(label("Label7")->text(), QStringLiteral("ANNA's SCORE"));
    // A new game, which the first player begins.
    QCOMPARE(d->window().state().HitCount, qint16(0));
    QCOMPARE(label("Label5")->text(), QStringLiteral("Score"));
    QCOMPARE(label("Label17")->text(), QStringLiteral("ITS TURN OF anna"));

    d->dialogs.promptAnswers.enqueue("Christopher");
    action("Player2")->trigger();
    QCOMPARE(d->dialogs.prompts[1].prompt, QStringLiteral("ENTER SECOND PLAYER NAME"));
    QCOMPARE(d->dialogs.prompts[1].title, QStringLiteral("Play Tavrolin"));
    QCOMPARE(action("Player2")->text(), QStringLiteral("Christopher - Change"));
    QCOMPARE(label("Label13")->text(), QStringLiteral("CHRISTO's SCORE"));
    QCOMPARE(label("Label17")->text(), QStringLiteral("ITS TURN OF anna"));
    QCOMPARE(d->dialogs.messages.size(), 0);

    // Names stand in the log as typed, although the headings are upper case.
    playSecondWinsBy7();
    const QString log = QString::fromUtf8(fileBytes(logPath()));
    QVERIFY(log.contains("\r\nanna : +(-4)"));
    QVERIFY(log.contains("\r\nChristopher won this game\r\n"));

    // A leading space makes another name; re-entering a name starts over.
    d->dialogs.promptAnswers.enqueue(" anna");
    d->window().Player2_Click();
    QCOMPARE(d->window().state().PlayerName[1], QStringLiteral(" anna"));
    QCOMPARE(label("Label13")->text(), QStringLiteral(" ANNA's SCORE"));
    d->hitValue(9);
    d->dialogs.promptAnswers.enqueue("anna");
    d->window().Player1_Click();
    QCOMPARE(d->window().state().HitCount, qint16(0));
}

void TestScores::nameRefused()
{
    d->hitValue(9);
    d->dialogs.promptAnswers.enqueue("player 2");
    d->window().Player1_Click();
    QCOMPARE(d->dialogs.messages.size(), 1);
    QCOMPARE(d->dialogs.messages[0].text, QStringLiteral("Player name must be other than PLAYER 2."));
    QCOMPARE(d->dialogs.messages[0].icon, Icon::Critical);
    QCOMPARE(d->dialogs.messages[0].title, QString());
    QCOMPARE(d->window().state().PlayerName[0], QStringLiteral("PLAYER 1"));
    QCOMPARE(action("Player1")->text(), QStringLiteral("PLAYER 1 - Change"));
    QCOMPARE(label("Label7")->text(), QStringLiteral("PLAYER-I SCORE"));
    QCOMPARE(d->window().state().HitCount, qint16(1)); // the game goes on

    // The same for the second player, naming the first as stored.
    d->dialogs.promptAnswers.enqueue("Anna");
    d->window().Player1_Click();
    d->dialogs.promptAnswers.enqueue("ANNA");
    d->window().Player2_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("Player name must be other than Anna."));
    QCOMPARE(d->window().state().PlayerName[1], QStringLiteral("PLAYER 2"));
    QCOMPARE(label("Label13")->text(), QStringLiteral("PLAYER-II SCORE"));
}

void TestScores::emptyNames()
{
    // Cancel answers the empty text, which is a name like any other.
    d->window().Player1_Click();
    QCOMPARE(d->window().state().PlayerName[0], QString());
    QCOMPARE(action("Player1")->text(), QStringLiteral(" - Change"));
    QCOMPARE(label("Label7")->text(), QStringLiteral("'s SCORE"));
    QCOMPARE(d->dialogs.messages.size(), 0);

    // Both empty is refused, naming the other player's empty name.
    d->window().Player2_Click();
    QCOMPARE(d->dialogs.messages.size(), 1);
    QCOMPARE(d->dialogs.messages[0].text, QStringLiteral("Player name must be other than ."));
    QCOMPARE(d->window().state().PlayerName[1], QStringLiteral("PLAYER 2"));

    // An empty first name starts line 2 of the log with " : ".
    playFirstWinsBy12();
    QVERIFY(QString::fromUtf8(fileBytes(logPath())).contains("\r\n : +(9)+(9)+(5)"));
    QCOMPARE(stored()[4], QStringLiteral(" had won the Game."));
}

void TestScores::ampersandInName()
{
    d->dialogs.promptAnswers.enqueue("Tom & Jerry");
    d->window().Player1_Click();
    QCOMPARE(d->window().state().PlayerName[0], QStringLiteral("Tom & Jerry"));
    // Shown literally, not as an access key.
    QCOMPARE(action("Player1")->iconText(), QStringLiteral("Tom & Jerry - Change"));
    QCOMPARE(label("Label7")->text(), QStringLiteral("TOM & J's SCORE"));
}

QTEST_MAIN(TestScores)
#include "tst_scores.moc"
