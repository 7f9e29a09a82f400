// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// Whole games through the window's real handlers: the hit, the turn
// displays, the end of a game, the refusal after it, and new games.

#include "support/fakes.h"
#include "support/tempstorage.h"
#include "ui/gamelabel.h"
#include "ui/numgame.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeRandom;
using ui::GameLabel;

namespace {

// What square i of a series shows after a renumbering that started the
// running digit at `start`: the first series shows digit (start + 1 + i)
// mod 10, the second 9 minus that; every even digit carries a minus sign.
QString expectedText(bool firstSeries, int start, int i)
{
    const int d = (start + 1 + i) % 10;
    const int shown = firstSeries ? d : 9 - d;
    const bool minus = shown % 2 == 0;
    return (minus ? "-" : "") + QString::number(shown);
}

int valueOf(const QString &text) { return text.toInt(); } // "-0" -> 0; fine for square texts

} // namespace

class TestGame : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsReadyForTheFirstPlayer();
    void seamsDecideTheNumbering();
    void wholeGame();
    void refusalAfterTheTwentiethHit();
    void newGameMidGame();
    void newGameAfterAFinishedGame();
    void mouseClicksScore();

private:
    GameLabel *label(const QString &name) const { return w->findChild<GameLabel *>(name); }
    GameLabel *square(bool first, int i) const
    {
        return label(QStringLiteral("%1(%2)").arg(first ? "Label1" : "Label2").arg(i));
    }
    void hitWithStart(bool first, int index, int start);
    QStringList squareTexts() const;

    FakeDialogs *dialogs = nullptr;
    FakeClock *clock = nullptr;
    FakeRandom *random = nullptr;
    testing::TempStorage *storage = nullptr; // finished games are logged here
    ui::NumGame *w = nullptr;
};

void TestGame::init()
{
    dialogs = new FakeDialogs;
    clock = new FakeClock;
    random = new FakeRandom;
    ui::Services s;
    s.dialogs = dialogs;
    s.clock = clock;
    s.random = random;
    storage = new testing::TempStorage;
    s.storage = storage;
    w = new ui::NumGame(s);
}

void TestGame::cleanup()
{
    delete w;
    delete dialogs;
    delete clock;
    delete random;
    delete storage;
}

// Makes the next renumbering start at `start` (clock digit 0, random part
// start) and hits the square.
void TestGame::hitWithStart(bool first, int index, int start)
{
    clock->seconds = 0.0f;
    random->fractions.enqueue(float(start) / 10.0f);
    if (first)
        w->Label1_Click(index);
    else
        w->Label2_Click(index);
}

QStringList TestGame::squareTexts() const
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out << square(true, i)->text() << square(false, i)->text();
    return out;
}

void TestGame::startsReadyForTheFirstPlayer()
{
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(square(true, i)->text(), QString("-0"));
        QCOMPARE(square(false, i)->text(), QString("-0"));
    }
    QCOMPARE(label("Label5")->text(), QString("Score"));
    QCOMPARE(label("Label3")->text(), QString("Score"));
    QCOMPARE(label("Label6")->text(), QString("Attempts"));
    QCOMPARE(label("Label4")->text(), QString("Attempts"));
    QCOMPARE(label("Label8(2)")->text(), QString("1"));
    QCOMPARE(label("Label17")->text(), QString("ITS TURN OF PLAYER 1"));
    QCOMPARE(label("Label10")->text(), QString());
    for (const char *banner : {"Label9(0)", "Label9(1)", "Label9(2)"})
        QVERIFY(label(banner)->isHidden());
    QVERIFY(w->findChild<QGroupBox *>("Frame4")->isHidden());
    QCOMPARE(int(w->state().HitCount), 0);
    QCOMPARE(w->state().PlayerName[0], QString("PLAYER 1"));
    QCOMPARE(w->state().PlayerName[1], QString("PLAYER 2"));
    QCOMPARE(random->calls, 0); // nothing is drawn before the first hit
}

void TestGame::seamsDecideTheNumbering()
{
    // Random part 4 (0.4 * 10) and clock digit 7 (0.07 s) start the running digit at 1.
    clock->seconds = 0.07f;
    random->fractions.enqueue(0.4f);
    w->Label1_Click(3);
    const QStringList first = {"-2", "3", "-4", "5", "-6", "7", "-8", "9", "-0", "1"};
    const QStringList second = {"7", "-6", "5", "-4", "3", "-2", "1", "-0", "9", "-8"};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(square(true, i)->text(), first[i]);
        QCOMPARE(square(false, i)->text(), second[i]);
    }
    QCOMPARE(label("Label5")->text(), QString("5"));
    QCOMPARE(int(w->state().HitValue), 5);
    QCOMPARE(random->calls, 1);

    // The same renumbering, hit on Label2(7), scores 0 for the second player.
    clock->seconds = 0.07f;
    random->fractions.enqueue(0.4f);
    w->Label2_Click(7);
    QCOMPARE(label("Label3")->text(), QString("0"));
    QCOMPARE(w->state().HitHistory2, QString("+(0)"));
}

void TestGame::wholeGame()
{
    // Hits alternate between the series and starts; each tuple is
    // (first series?, square, start).
    struct Hit { bool first; int index; int start; };
    const Hit hits[20] = {
        {true, 0, 0},  {false, 0, 0}, {false, 3, 4}, {true, 7, 2},  {true, 9, 9},
        {true, 8, 1},  {false, 9, 5}, {false, 1, 3}, {true, 4, 6},  {false, 6, 8},
        {false, 2, 7}, {true, 1, 0},  {true, 5, 4},  {false, 8, 2}, {true, 2, 1},
        {true, 3, 3},  {false, 4, 6}, {false, 5, 9}, {true, 6, 5},  {false, 7, 7},
    };
    int score[2] = {0, 0};
    QString history[2];
    bool negativeSeen = false, zeroSeen = false;
    const QColor hitText(255, 0, 0), hitBack(255, 224, 192), restBack(224, 224, 224);

    for (int n = 0; n < 20; ++n) {
        const Hit &h = hits[n];
        const int player = n % 2; // the first hit is the first player's
        hitWithStart(h.first, h.index, h.start);

        const int value = valueOf(expectedText(h.first, h.start, h.index));
        negativeSeen |= value < 0;
        zeroSeen |= value == 0;
        score[player] += value;
        history[player] += QStringLiteral("+(%1)").arg(value);
        const int attempts = n / 2 + 1;

        for (int i = 0; i < 10; ++i) {
            QCOMPARE(square(true, i)->text(), expectedText(true, h.start, i));
            QCOMPARE(square(false, i)->text(), expectedText(false, h.start, i));
        }
        QCOMPARE(int(w->state().HitCount), n + 1);
        QCOMPARE(int(w->state().HitValue), value);
        QCOMPARE(label(player == 0 ? "Label5" : "Label3")->text(), QString::number(score[player]));
        QCOMPARE(label(player == 0 ? "Label6" : "Label4")->text(), QString::number(attempts));
        QCOMPARE(player == 0 ? w->state().HitHistory1 : w->state().HitHistory2, history[player]);
        if (n == 0) {
            // The second player has not hit yet.
            QCOMPARE(label("Label3")->text(), QString("Score"));
            QCOMPARE(label("Label4")->text(), QString("Attempts"));
        }
        if (n < 19) {
            QCOMPARE(label("Label8(2)")->text(), QString(player == 0 ? "2" : "1"));
            QCOMPARE(label("Label17")->text(), QString(player == 0 ? "ITS TURN OF PLAYER 2" : "ITS TURN OF PLAYER 1"));
        }
        // Only the hit square carries the hit colours.
        for (int i = 0; i < 10; ++i) {
            for (bool first : {true, false}) {
                const bool isHit = first == h.first && i == h.index;
                QCOMPARE(square(first, i)->textColor(),
                         isHit ? hitText : QApplication::palette().color(QPalette::ButtonText));
                QCOMPARE(square(first, i)->backColor(), isHit ? hitBack : restBack);
            }
        }
    }
    QVERIFY(negativeSeen);
    QVERIFY(zeroSeen);
    QCOMPARE(w->state().HitHistory1.count("+("), 10);
    QCOMPARE(w->state().HitHistory2.count("+("), 10);
    QCOMPARE(label("Label6")->text(), QString("10"));
    QCOMPARE(label("Label4")->text(), QString("10"));
    QCOMPARE(int(w->state().FinalScore1), score[0]);
    QCOMPARE(int(w->state().FinalScore2), score[1]);
    QCOMPARE(label("Label8(2)")->text(), QString("X"));
    QCOMPARE(label("Label17")->text(), QString("ITS TURN OF PLAYER 1"));
    QVERIFY(dialogs->messages.isEmpty());
}

void TestGame::refusalAfterTheTwentiethHit()
{
    for (int n = 0; n < 20; ++n)
        hitWithStart(n % 3 == 0, n % 10, n % 10);
    const QStringList textsBefore = squareTexts();
    const QString score1 = label("Label5")->text(), score2 = label("Label3")->text();
    const QString history1 = w->state().HitHistory1;
    const int drawn = random->calls;
    GameLabel *lastHit = square(false, 9); // hit 20 was on Label2(9)

    for (int attempt = 0; attempt < 2; ++attempt) {
        w->Label1_Click(0);
        w->Label2_Click(4);
    }
    QCOMPARE(dialogs->messages.size(), 4);
    for (const testing::ShownMessage &m : dialogs->messages) {
        QCOMPARE(m.text, QString("Both of you have finished your allotted attempts.\r\nReset to start a new Game."));
        QCOMPARE(m.title, QString("Play Number Game"));
        QCOMPARE(m.icon, ui::Dialogs::Icon::Exclamation);
        QCOMPARE(m.buttons, ui::Dialogs::Buttons::Ok);
    }
    QCOMPARE(squareTexts(), textsBefore);
    QCOMPARE(label("Label5")->text(), score1);
    QCOMPARE(label("Label3")->text(), score2);
    QCOMPARE(w->state().HitHistory1, history1);
    QCOMPARE(int(w->state().HitCount), 20);
    QCOMPARE(random->calls, drawn);
    QCOMPARE(label("Label8(2)")->text(), QString("X"));
    // The square of the twentieth hit keeps its mark; the refused ones get none.
    QCOMPARE(lastHit->backColor(), QColor(255, 224, 192));
    QCOMPARE(square(true, 0)->backColor(), QColor(224, 224, 224));
}

void TestGame::newGameMidGame()
{
    for (int n = 0; n < 5; ++n)
        hitWithStart(true, n, n);
    const QStringList texts = squareTexts();
    QCOMPARE(int(w->state().HitCount), 5);

    w->findChild<QPushButton *>("Resetz")->click();

    QCOMPARE(int(w->state().HitCount), 0);
    QCOMPARE(label("Label5")->text(), QString("Score"));
    QCOMPARE(label("Label3")->text(), QString("Score"));
    QCOMPARE(label("Label6")->text(), QString("Attempts"));
    QCOMPARE(label("Label4")->text(), QString("Attempts"));
    QCOMPARE(label("Label8(2)")->text(), QString("1"));
    QCOMPARE(label("Label17")->text(), QString("ITS TURN OF PLAYER 1"));
    QVERIFY(w->state().HitHistory1.isEmpty());
    QVERIFY(w->state().HitHistory2.isEmpty());
    QCOMPARE(squareTexts(), texts); // the squares change only at the next hit
    for (int i = 0; i < 10; ++i)
        QCOMPARE(square(true, i)->backColor(), QColor(224, 224, 224));

    // The first hit of the new game is the first player's, after an odd
    // number of hits in the dropped one.
    hitWithStart(false, 0, 0);
    QCOMPARE(label("Label5")->text(), QString("-8"));
    QCOMPARE(label("Label3")->text(), QString("Score"));
    QCOMPARE(label("Label8(2)")->text(), QString("2"));
}

void TestGame::newGameAfterAFinishedGame()
{
    for (int n = 0; n < 20; ++n)
        hitWithStart(true, 8, 0); // every hit on "9"
    QCOMPARE(label("Label5")->text(), QString("90"));
    QCOMPARE(label("Label3")->text(), QString("90"));
    QCOMPARE(label("Label8(2)")->text(), QString("X"));

    w->Resetz_Click();
    QCOMPARE(int(w->state().HitCount), 0);
    QCOMPARE(label("Label8(2)")->text(), QString("1"));
    QCOMPARE(label("Label10")->text(), QString());
    for (const char *banner : {"Label9(0)", "Label9(1)", "Label9(2)"})
        QVERIFY(label(banner)->isHidden());

    // Play resumes: no refusal, and the game counts from one again.
    hitWithStart(true, 8, 0);
    QVERIFY(dialogs->messages.isEmpty());
    QCOMPARE(label("Label5")->text(), QString("9"));
    QCOMPARE(label("Label6")->text(), QString("1"));
}

void TestGame::mouseClicksScore()
{
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    random->fractions.enqueue(0.0f); // start 0: Label2(1) shows "7"
    QTest::mouseClick(square(false, 1), Qt::LeftButton);
    QCOMPARE(label("Label5")->text(), QString("7"));
    // A right-button click is no hit.
    QTest::mouseClick(square(false, 1), Qt::RightButton);
    QCOMPARE(int(w->state().HitCount), 1);
    // A press that is released elsewhere is no click.
    QTest::mousePress(square(true, 0), Qt::LeftButton);
    QTest::mouseRelease(square(true, 0), Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(int(w->state().HitCount), 1);
}

QTEST_MAIN(TestGame)
#include "tst_game.moc"
