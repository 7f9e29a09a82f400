// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What the squares show around a hit: resting and hit colours, the pointer
// over a square and while a button is held on it, and the tooltip naming
// the player to move.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QTest>

using testing::GameDriver;
using ui::GameLabel;

namespace {

const QColor kRestBack(224, 224, 224);
const QColor kHitText(255, 0, 0);
const QColor kHitBack(255, 224, 192);

QColor buttonText()
{
    return QApplication::palette().color(QPalette::ButtonText);
}

QImage argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage icon(int id)
{
    return argb(QImage(QStringLiteral(":/icons/%1.ico").arg(id)));
}

QImage cursorImage(const QWidget *widget)
{
    return argb(widget->cursor().pixmap().toImage());
}

} // namespace

class TestSquareFeedback : public QObject
{
    Q_OBJECT
private slots:
    void coloursFollowTheHits();
    void tooltipNamesThePlayerToMove_data();
    void tooltipNamesThePlayerToMove();
    void tooltipsThroughAGame();
    void pointerImages();
    void pointerFollowsMoveAndPress();
    void catalogueHand();

private:
    // Squares that do not show `expectedText`/`expectedBack`, by name.
    static QStringList squaresNotShowing(GameDriver &game, const QColor &expectedText, const QColor &expectedBack,
                                         const GameLabel *except = nullptr);
};

QStringList TestSquareFeedback::squaresNotShowing(GameDriver &game, const QColor &expectedText,
                                                  const QColor &expectedBack, const GameLabel *except)
{
    QStringList odd;
    for (bool first : {true, false}) {
        for (int i = 0; i < 10; ++i) {
            GameLabel *sq = game.square(first, i);
            if (sq != except && (sq->textColor() != expectedText || sq->backColor() != expectedBack))
                odd << sq->objectName();
        }
    }
    return odd;
}

void TestSquareFeedback::coloursFollowTheHits()
{
    GameDriver game;
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack), QStringList());

    game.window().Label2_Click(4);
    GameLabel *hit = game.square(false, 4);
    QCOMPARE(hit->textColor(), kHitText);
    QCOMPARE(hit->backColor(), kHitBack);
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack, hit), QStringList());

    // The next hit, on the other series, moves the mark.
    game.window().Label1_Click(0);
    hit = game.square(true, 0);
    QCOMPARE(hit->textColor(), kHitText);
    QCOMPARE(hit->backColor(), kHitBack);
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack, hit), QStringList());

    // Hitting the marked square again keeps it marked.
    game.window().Label1_Click(0);
    QCOMPARE(hit->backColor(), kHitBack);
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack, hit), QStringList());

    // The twentieth hit's square stays marked; a refused click restores nothing.
    for (int n = 3; n < 20; ++n)
        game.window().Label1_Click(n % 10);
    hit = game.square(true, 9);
    game.window().Label2_Click(0);
    QCOMPARE(hit->backColor(), kHitBack);
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack, hit), QStringList());

    game.window().Resetz_Click();
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack), QStringList());
}

void TestSquareFeedback::tooltipNamesThePlayerToMove_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("long name") << "ITS TURN OF ALEXANDRINA VICTORIA" << "ALEXANDRIN";
    QTest::newRow("ten characters") << "ITS TURN OF ABCDEFGHIJ" << "ABCDEFGHIJ";
    QTest::newRow("eleven characters") << "ITS TURN OF ABCDEFGHIJK" << "ABCDEFGHIJ";
    QTest::newRow("short name") << "ITS TURN OF JO" << "JO";
    QTest::newRow("one character") << "ITS TURN OF Z" << "Z";
    QTest::newRow("nothing from the 13th on") << "ITS TURN OF " << "";
    QTest::newRow("shorter still") << "ITS" << "";
    QTest::newRow("markup") << "ITS TURN OF <b>Eve</b>" << "<b>Eve</b>";
    const QString smile = QStringLiteral("\U0001F600");
    QTest::newRow("emoji tenth") << "ITS TURN OF ABCDEFGHI" + smile + "J" << "ABCDEFGHI" + smile;
}

void TestSquareFeedback::tooltipNamesThePlayerToMove()
{
    QFETCH(QString, prompt);
    QFETCH(QString, tooltip);

    GameDriver game;
    game.label("Label17")->setText(prompt);
    game.window().Label1_MouseMove(7);
    game.window().Label2_MouseMove(2);
    QCOMPARE(game.square(true, 7)->toolTip(), tooltip);
    QCOMPARE(game.square(false, 2)->toolTip(), tooltip);
    QVERIFY(game.square(true, 6)->toolTip().isEmpty()); // no move over it yet

    // Shown, it reads as it stands, never as markup.
    GameLabel *square = game.square(true, 7);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), square->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(square, &help);
    if (!tooltip.isEmpty()) {
        QTextDocument shown;
        shown.setHtml(QToolTip::text());
        QCOMPARE(shown.toPlainText(), tooltip);
    }
    QToolTip::hideText();
}

// A tooltip is what the turn prompt said when the pointer last moved over
// that square.
void TestSquareFeedback::tooltipsThroughAGame()
{
    GameDriver game;
    GameLabel *watched = game.square(true, 3);
    game.window().Label1_MouseMove(3);
    QCOMPARE(watched->toolTip(), QStringLiteral("PLAYER 1"));

    game.window().Label2_Click(5);
    QCOMPARE(watched->toolTip(), QStringLiteral("PLAYER 1"));
    game.window().Label1_MouseMove(3);
    QCOMPARE(watched->toolTip(), QStringLiteral("PLAYER 2"));

    // After the twentieth hit the prompt names the first player again, and
    // a new game leaves it so.
    for (int n = 1; n < 20; ++n)
        game.window().Label2_Click(n % 10);
    game.window().Label1_MouseMove(3);
    QCOMPARE(watched->toolTip(), QStringLiteral("PLAYER 1"));
    game.window().Resetz_Click();
    game.window().Label2_MouseMove(0);
    QCOMPARE(game.square(false, 0)->toolTip(), QStringLiteral("PLAYER 1"));
}

// The down arrow is the up arrow, pixel for pixel, in other colours, and
// both have their tip where the pointer's hot spot is.
void TestSquareFeedback::pointerImages()
{
    const QImage up = icon(110);
    const QImage down = icon(102);
    const QImage hand = icon(103);
    for (const QImage &image : {up, down, hand})
        QCOMPARE(image.size(), QSize(32, 32));
    QVERIFY(up != down);
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            QCOMPARE(qAlpha(up.pixel(x, y)) > 0, qAlpha(down.pixel(x, y)) > 0);
            opaque += qAlpha(up.pixel(x, y)) > 0;
        }
    }
    QVERIFY(opaque > 40 && opaque < 32 * 32 / 2);
    QVERIFY(qAlpha(up.pixel(16, 19)) > 0);
    QCOMPARE(qAlpha(up.pixel(16, 20)), 0);
    QVERIFY(qAlpha(hand.pixel(14, 8)) > 0);
}

// Through real mouse events on a shown window: a move gives the up arrow,
// a press of any button the down arrow, which stays through the release
// until the pointer moves again. Colours never change by it.
void TestSquareFeedback::pointerFollowsMoveAndPress()
{
    GameDriver game;
    game.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&game.window()));

    GameLabel *sq = game.square(false, 6);
    QVERIFY(!sq->testAttribute(Qt::WA_SetCursor)); // the standard arrow until the first move
    const QPoint centre = sq->rect().center();

    auto check = [&](int id, QPoint hotSpot) {
        QCOMPARE(sq->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(cursorImage(sq), icon(id));
        QCOMPARE(sq->cursor().hotSpot(), hotSpot);
    };

    QTest::mouseMove(sq, centre);
    QTRY_VERIFY(sq->testAttribute(Qt::WA_SetCursor));
    check(110, QPoint(16, 19));
    QVERIFY(!game.square(false, 5)->testAttribute(Qt::WA_SetCursor));

    QTest::mousePress(sq, Qt::LeftButton, {}, centre);
    check(102, QPoint(16, 19));
    QTest::mouseRelease(sq, Qt::LeftButton, {}, centre);
    check(102, QPoint(16, 19));
    QCOMPARE(game.window().state().HitCount, 1); // the release was the hit

    QTest::mouseMove(sq, centre + QPoint(3, 2));
    QTRY_COMPARE(cursorImage(sq), icon(110));
    check(110, QPoint(16, 19));

    QTest::mousePress(sq, Qt::RightButton, {}, centre);
    check(102, QPoint(16, 19));
    QTest::mouseRelease(sq, Qt::RightButton, {}, centre);
    QCOMPARE(game.window().state().HitCount, 1); // only the left button hits

    QCOMPARE(sq->backColor(), kHitBack);
    QCOMPARE(squaresNotShowing(game, buttonText(), kRestBack, sq), QStringList());
}

void TestSquareFeedback::catalogueHand()
{
    GameDriver game;
    GameLabel *entry = game.label("Label11(2)");
    game.window().SetIconProd(entry);
    QCOMPARE(entry->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(cursorImage(entry), icon(103));
    QCOMPARE(entry->cursor().hotSpot(), QPoint(14, 8));
}

QTEST_MAIN(TestSquareFeedback)
#include "tst_squarefeedback.moc"
