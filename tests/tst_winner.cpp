// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The end of a game: the winner banner, the score difference, and the
// blinking whose count and colour carry over from one game to the next.

#include "game/winner.h"
#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"

#include <QTest>

using testing::GameDriver;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGreen(0, 255, 0);

QList<int> tenHits(QList<int> leading)
{
    while (leading.size() < 10)
        leading << 0;
    return leading;
}

} // namespace

class TestWinner : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data();
    void outcome();
    void blinkCounting();
    void fiveBlinksFromAFreshStart();
    void newGameInterruptsTheBanner();
    void colourCarriesOverToTheNextGame();
    void clickWhileBlinkingChangesNothing();
    void timerDrivesTheBlinks();

private:
    static QColor bannerColour(GameDriver &game);
    static void checkBannerColour(GameDriver &game, const QColor &expected);
};

QColor TestWinner::bannerColour(GameDriver &game)
{
    return game.bannerPart(0)->textColor();
}

void TestWinner::checkBannerColour(GameDriver &game, const QColor &expected)
{
    for (int i = 0; i < 3; ++i)
        QCOMPARE(game.bannerPart(i)->textColor(), expected);
}

void TestWinner::outcome_data()
{
    QTest::addColumn<QList<int>>("first");
    QTest::addColumn<QList<int>>("second");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("difference");

    QTest::newRow("first wins 23 to 11") << tenHits({9, 9, 5}) << tenHits({9, 1, 1}) << "1"
                                         << "Score Difference = 12";
    QTest::newRow("second wins 3 to -4") << tenHits({-4}) << tenHits({3}) << "2" << "Score Difference = 7";
    QTest::newRow("tie") << tenHits({5, -2}) << tenHits({3}) << "X" << "Score Difference = 0";
    QTest::newRow("widest margin") << QList<int>(10, 9) << QList<int>(10, -8) << "1" << "Score Difference = 170";
}

void TestWinner::outcome()
{
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QFETCH(QString, mark);
    QFETCH(QString, difference);

    GameDriver game;
    game.settleBoard();
    QVERIFY(!game.bannerPart(1)->isVisibleTo(&game.window()));
    QVERIFY(game.label("Label10")->text().isEmpty());

    game.playGame(first, second);
    QCOMPARE(game.bannerPart(0)->text(), QStringLiteral("PLAYER"));
    QCOMPARE(game.bannerPart(1)->text(), mark);
    QCOMPARE(game.bannerPart(2)->text(), QStringLiteral("WON"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(game.bannerPart(i)->isVisibleTo(&game.window()));
    QCOMPARE(game.label("Label10")->text(), difference);
    QVERIFY(game.dialogs.messages.isEmpty());
}

void TestWinner::blinkCounting()
{
    qint16 count = 0;
    QList<bool> last;
    for (int i = 0; i < 7; ++i)
        last << game::advanceBlink(count);
    QCOMPARE(last, QList<bool>({false, false, false, false, true, false, false}));
    QCOMPARE(count, 2);
}

void TestWinner::fiveBlinksFromAFreshStart()
{
    GameDriver game;
    game.settleBoard();
    QCOMPARE(game.window().blinkCount(), 0);
    checkBannerColour(game, kWhite);

    game.playGame(tenHits({}), tenHits({}));
    // The first blink comes with the end of the game.
    QCOMPARE(game.window().blinkCount(), 1);
    QCOMPARE(game.timer("Timer1")->interval(), 1000);
    QVERIFY(game.timer("Timer1")->isRunning());
    checkBannerColour(game, kGreen);

    QList<QColor> colours;
    for (int tick = 2; tick <= 5; ++tick) {
        game.window().Timer1_Timer();
        colours << bannerColour(game);
        QCOMPARE(game.timer("Timer1")->isRunning(), tick < 5);
    }
    QCOMPARE(colours, QList<QColor>({kWhite, kGreen, kWhite, kGreen}));
    checkBannerColour(game, kGreen);
    QCOMPARE(game.window().blinkCount(), 0);
    QCOMPARE(game.timer("Timer1")->interval(), 0);
    // The banner stays up in its last colour.
    QVERIFY(game.bannerPart(1)->isVisibleTo(&game.window()));
}

// A new game after the second blink hides the banner and stops the timer
// but keeps the count: the next game's banner blinks three times.
void TestWinner::newGameInterruptsTheBanner()
{
    GameDriver game;
    game.settleBoard();
    game.playGame(tenHits({}), tenHits({}));
    game.window().Timer1_Timer();
    QCOMPARE(game.window().blinkCount(), 2);

    game.window().Resetz_Click();
    QVERIFY(!game.timer("Timer1")->isRunning());
    for (int i = 0; i < 3; ++i)
        QVERIFY(!game.bannerPart(i)->isVisibleTo(&game.window()));
    QVERIFY(game.label("Label10")->text().isEmpty());
    QCOMPARE(game.window().blinkCount(), 2);
    checkBannerColour(game, kWhite); // two changes: back where it began

    game.sound.images.clear();
    game.playGame(tenHits({}), tenHits({}));
    int blinks = 1;
    while (game.timer("Timer1")->isRunning() && blinks < 10) {
        game.window().Timer1_Timer();
        ++blinks;
    }
    QCOMPARE(blinks, 3);
    QCOMPARE(game.sound.resources().count(111), 3);
    QCOMPARE(game.window().blinkCount(), 0);
    checkBannerColour(game, kGreen);
}

// Five colour changes a game: the banner ends green after the first game and
// white after the second, and the second game's first blink turns it white.
void TestWinner::colourCarriesOverToTheNextGame()
{
    GameDriver game;
    game.settleBoard();
    QList<QColor> firstBlinks, lastColours;
    for (int round = 0; round < 3; ++round) {
        game.playGame(tenHits({}), tenHits({}));
        firstBlinks << bannerColour(game);
        for (int tick = 0; tick < 4; ++tick)
            game.window().Timer1_Timer();
        lastColours << bannerColour(game);
        game.window().Resetz_Click();
        checkBannerColour(game, lastColours.last());
    }
    QCOMPARE(firstBlinks, QList<QColor>({kGreen, kWhite, kGreen}));
    QCOMPARE(lastColours, QList<QColor>({kGreen, kWhite, kGreen}));
}

void TestWinner::clickWhileBlinkingChangesNothing()
{
    GameDriver game;
    game.settleBoard();
    game.playGame(tenHits({9}), tenHits({}));
    game.window().Timer1_Timer();
    const int sounds = static_cast<int>(game.sound.images.size());
    const QColor colour = bannerColour(game);

    game.window().Label2_Click(3);
    QCOMPARE(game.dialogs.messages.size(), 1);
    QCOMPARE(game.window().blinkCount(), 2);
    QVERIFY(game.timer("Timer1")->isRunning());
    QCOMPARE(game.timer("Timer1")->interval(), 1000);
    checkBannerColour(game, colour);
    QCOMPARE(game.bannerPart(1)->text(), QStringLiteral("1"));
    QCOMPARE(game.label("Label10")->text(), QStringLiteral("Score Difference = 9"));
    QCOMPARE(game.sound.images.size(), sounds);
}

// The timer itself brings the blinks, about a second apart.
void TestWinner::timerDrivesTheBlinks()
{
    GameDriver game;
    game.settleBoard();
    game.playGame(tenHits({}), tenHits({}));
    QCOMPARE(game.window().blinkCount(), 1);
    QTest::qWait(500);
    QCOMPARE(game.window().blinkCount(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(game.window().blinkCount(), 2, 2000);
    checkBannerColour(game, kWhite);
}

QTEST_MAIN(TestWinner)
#include "tst_winner.moc"
