// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What assistive tools read from the window, through Qt's accessibility
// interfaces (the ones the AT-SPI bridge serves): the squares by their place
// in the field with their texts as descriptions, kept current and announced
// as they change; the phrase that says each hit's result; the scores,
// attempts and turn; the menu's access keys; and the press action on the
// labels that react to clicks. And play without a mouse: the Tab key's
// round, the arrows over the field, Space and Return on a square, and the
// focus mark that only the keyboard brings.

#include "game/field.h"
#include "game/spoken.h"
#include "game/textvalue.h"
#include "support/gamedriver.h"
#include "ui/announcer.h"
#include "ui/gamelabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDesktopServices>
#include <QApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>

using ui::GameLabel;

namespace {

QString accessibleText(QWidget *w, QAccessible::Text which)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(which) : QStringLiteral("<none>");
}

QString pressName()
{
    return QAccessibleActionInterface::pressAction();
}

// Stands in for the desktop's browser: records every address it is given.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

// What a window shows and has done, one line each: every label's text, the
// sounds played, the message boxes shown, the addresses opened.
QStringList outcome(testing::GameDriver &game, const BrowserStandIn &browser)
{
    QStringList lines;
    for (const GameLabel *label : game.window().findChildren<GameLabel *>())
        lines << QStringLiteral("label %1=%2").arg(label->objectName(), label->text());
    for (int id : game.sound.resources())
        lines << QStringLiteral("sound %1").arg(id);
    for (const testing::ShownMessage &m : game.dialogs.messages)
        lines << QStringLiteral("message %1: %2").arg(m.title, m.text);
    for (const QUrl &url : browser.opened)
        lines << QStringLiteral("url %1").arg(url.toString());
    return lines;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void squaresAreNamedByTheirPlace();
    void squaresReadTheirTexts();
    void scoresAttemptsAndTurnRead();
    void menuCommandsKeepTheirAccessKeys();
    void labelsReadAsAnyLabel();
    void pressActionClicks_data();
    void pressActionClicks();
    void labelsThatOnlyShowOfferNoPress_data();
    void labelsThatOnlyShowOfferNoPress();
    void hitPhrases_data();
    void hitPhrases();
    void tabRound();
    void arrowsMoveOverTheField_data();
    void arrowsMoveOverTheField();
    void wholeGameByKeys();
    void focusMarkOnlyFromKeys();
    void scoreBoardTextByKeys();

private:
    QList<GameLabel *> squares() const;
    std::unique_ptr<testing::GameDriver> m_game;
};

void TestAccessibility::init()
{
    m_game = std::make_unique<testing::GameDriver>();
    m_game->settleBoard();
    m_game->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_game->window()));
}

void TestAccessibility::cleanup()
{
    m_game.reset();
}

QList<GameLabel *> TestAccessibility::squares() const
{
    QList<GameLabel *> out;
    for (int i = 0; i < 10; ++i)
        out << m_game->square(true, i) << m_game->square(false, i);
    return out;
}

void TestAccessibility::squaresAreNamedByTheirPlace()
{
    // In reading order on the screen (rows 100 pixels apart, columns 87).
    QList<GameLabel *> byPlace = squares();
    std::sort(byPlace.begin(), byPlace.end(), [](GameLabel *a, GameLabel *b) {
        const QPoint pa = a->pos() + QPoint(0, 10), pb = b->pos() + QPoint(0, 10);
        return pa.y() / 50 != pb.y() / 50 ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    for (int n = 0; n < 20; ++n) {
        const QString expected = QStringLiteral("Square %1, row %2, column %3").arg(n + 1).arg(n / 5 + 1).arg(n % 5 + 1);
        QCOMPARE(accessibleText(byPlace[n], QAccessible::Name), expected);
    }
}

void TestAccessibility::squaresReadTheirTexts()
{
    for (GameLabel *square : squares())
        QCOMPARE(accessibleText(square, QAccessible::Description), QStringLiteral("Shows ") + square->text());

    // On a fresh board (every square "-0") a hit renumbers both series, and
    // every square reads its new text. (That the change is announced over
    // AT-SPI is checked by tests/e2e/e2e_accessibility.sh: this platform has
    // no accessibility bridge to announce to.)
    testing::GameDriver fresh;
    QList<GameLabel *> board;
    for (int i = 0; i < 10; ++i)
        board << fresh.square(true, i) << fresh.square(false, i);
    for (GameLabel *square : board)
        QCOMPARE(accessibleText(square, QAccessible::Description), QStringLiteral("Shows -0"));
    fresh.window().Label2_Click(4);
    int changed = 0;
    for (GameLabel *square : board) {
        QCOMPARE(accessibleText(square, QAccessible::Description), QStringLiteral("Shows ") + square->text());
        changed += square->text() != QStringLiteral("-0") ? 1 : 0;
    }
    QCOMPARE(changed, 18); // each series shows "-0" on one square again

    // The hit's result is said by a notification that shows nothing.
    auto *spoken = fresh.window().findChild<ui::Announcer *>(QStringLiteral("Spoken"));
    QVERIFY(spoken);
    QAccessibleInterface *note = QAccessible::queryAccessibleInterface(spoken);
    QCOMPARE(note->role(), QAccessible::Notification);
    const qint16 worth = game::textValue(fresh.square(false, 4)->text());
    QCOMPARE(note->text(QAccessible::Description),
             game::hitPhrase(QStringLiteral("PLAYER 1"), worth, worth, 1, QStringLiteral("PLAYER 2")));
    QCOMPARE(spoken->size(), QSize(0, 0));
    QCOMPARE(spoken->focusPolicy(), Qt::NoFocus);
}

void TestAccessibility::scoresAttemptsAndTurnRead()
{
    m_game->window().Resetz_Click();
    struct Reading { const char *label; const char *name; };
    const Reading readings[] = {
        {"Label5", "Player 1 score"}, {"Label6", "Player 1 attempts"}, {"Label3", "Player 2 score"},
        {"Label4", "Player 2 attempts"}, {"Label8(2)", "Next turn is for player"},
    };
    auto checkAll = [&] {
        for (const Reading &r : readings) {
            GameLabel *label = m_game->label(QString::fromLatin1(r.label));
            QCOMPARE(accessibleText(label, QAccessible::Name), QString::fromLatin1(r.name));
            QCOMPARE(accessibleText(label, QAccessible::Description), label->text());
        }
    };
    checkAll();
    QCOMPARE(accessibleText(m_game->label(QStringLiteral("Label5")), QAccessible::Description), QStringLiteral("Score"));
    m_game->hitValue(7);
    m_game->hitValue(-4, false);
    checkAll();
    QCOMPARE(accessibleText(m_game->label(QStringLiteral("Label5")), QAccessible::Description), QStringLiteral("7"));
    QCOMPARE(accessibleText(m_game->label(QStringLiteral("Label3")), QAccessible::Description), QStringLiteral("-4"));
    // Labels that say what they mean are read by their text.
    GameLabel *turn = m_game->label(QStringLiteral("Label17"));
    QCOMPARE(accessibleText(turn, QAccessible::Name), turn->text());
    QVERIFY(turn->text().startsWith(QStringLiteral("ITS TURN OF")));
}

void TestAccessibility::menuCommandsKeepTheirAccessKeys()
{
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(m_game->window().menuBar());
    QVERIFY(bar);
    QStringList seen;
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface *item = bar->child(i);
        if (item->state().invisible)
            continue;
        // The AT-SPI bridge hands out the item's accelerator as the key
        // binding of its action when the action has no shortcut of its own.
        QAccessibleActionInterface *action = item->actionInterface();
        QVERIFY(action);
        QVERIFY(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()).isEmpty());
        seen << item->text(QAccessible::Name) + QLatin1Char('=') + item->text(QAccessible::Accelerator).toUpper();
    }
    QCOMPARE(seen, QStringList({"Exit=ALT+X", "Set Players=ALT+P", "Clear AllScores=ALT+C", "Show ScoreBoard=ALT+S",
                                "Highest Record=ALT+R", "Help=ALT+H"}));
}

void TestAccessibility::labelsReadAsAnyLabel()
{
    // Every label of the window reads to assistive tools as a plain QLabel
    // showing the same does (Qt's own interface for labels).
    for (GameLabel *label : m_game->window().findChildren<GameLabel *>()) {
        QLabel plain(label->parentWidget());
        plain.setTextFormat(label->textFormat());
        plain.setText(label->text());
        if (!label->pixmap().isNull())
            plain.setPixmap(label->pixmap());
        plain.setAccessibleName(label->accessibleName());
        plain.setAccessibleDescription(label->accessibleDescription());
        plain.setToolTip(label->toolTip());
        plain.setGeometry(label->geometry());
        plain.setVisible(label->isVisible());
        QAccessibleInterface *ours = QAccessible::queryAccessibleInterface(label);
        QAccessibleInterface *qts = QAccessible::queryAccessibleInterface(&plain);
        QVERIFY(ours && qts);
        const QString what = label->objectName();
        // A square reads as a push button instead: named by its place and
        // described by its number, as screen readers speak a focused button.
        QVERIFY2(ours->role() == (label->readsAsButton() ? QAccessible::Button : qts->role()), qPrintable(what));
        QCOMPARE(label->readsAsButton(), label->objectName().startsWith(QStringLiteral("Label1(")) ||
                                             label->objectName().startsWith(QStringLiteral("Label2(")));
        for (QAccessible::Text t : {QAccessible::Name, QAccessible::Description, QAccessible::Help})
            QCOMPARE(ours->text(t), qts->text(t));
        QVERIFY2(ours->rect() == qts->rect(), qPrintable(what));
        QAccessibleImageInterface *ourImage = ours->imageInterface();
        QAccessibleImageInterface *qtImage = qts->imageInterface();
        QVERIFY2(ourImage && qtImage, qPrintable(what));
        QCOMPARE(ourImage->imageDescription(), qtImage->imageDescription());
        QCOMPARE(ourImage->imageSize(), qtImage->imageSize());
        QCOMPARE(ourImage->imagePosition(), qtImage->imagePosition());
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(m_game->square(true, 0))->role(), QAccessible::Button);
    QCOMPARE(QAccessible::queryAccessibleInterface(m_game->label(QStringLiteral("Label5")))->role(),
             QAccessible::StaticText);
    QCOMPARE(QAccessible::queryAccessibleInterface(m_game->label(QStringLiteral("Image3(0)")))->role(),
             QAccessible::Graphic);
}

void TestAccessibility::pressActionClicks_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("effect"); // the kind of outcome line the click adds
    QTest::addColumn<int>("key");        // 0: the accessible press action; else this key on the focused label
    QTest::newRow("square, first series") << "Label1(3)" << "sound" << 0;
    QTest::newRow("square, second series") << "Label2(6)" << "sound" << 0;
    QTest::newRow("trial catalogue entry") << "Label11(0)" << "message" << 0;
    QTest::newRow("free catalogue entry") << "Label11(9)" << "message" << 0;
    QTest::newRow("Visit link") << "Label12" << "url" << 0;
    QTest::newRow("Free Download link") << "Label19" << "url" << 0;
    QTest::newRow("navy symbol") << "Image3(0)" << "message" << 0;
    QTest::newRow("red symbol") << "Image3(1)" << "message" << 0;
    QTest::newRow("square, Space") << "Label1(3)" << "sound" << int(Qt::Key_Space);
    QTest::newRow("square, Return") << "Label2(6)" << "sound" << int(Qt::Key_Return);
    QTest::newRow("square, keypad Enter") << "Label2(0)" << "sound" << int(Qt::Key_Enter);
    QTest::newRow("catalogue entry, Space") << "Label11(0)" << "message" << int(Qt::Key_Space);
    QTest::newRow("catalogue entry, Return") << "Label11(9)" << "message" << int(Qt::Key_Return);
    QTest::newRow("Visit link, Return") << "Label12" << "url" << int(Qt::Key_Return);
    QTest::newRow("Free Download link, Space") << "Label19" << "url" << int(Qt::Key_Space);
    QTest::newRow("symbol, Space") << "Image3(1)" << "message" << int(Qt::Key_Space);
}

void TestAccessibility::pressActionClicks()
{
    QFETCH(QString, label);
    QFETCH(QString, effect);
    QFETCH(int, key);
    BrowserStandIn browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    const auto restore = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });

    GameLabel *target = m_game->label(label);
    const QStringList before = outcome(*m_game, browser);
    QSignalSpy clicks(target, &GameLabel::clicked);
    if (key == 0) {
        QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(target)->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(pressName()));
        actions->doAction(pressName());
        // The click comes from the event loop, as a button's does.
        QCOMPARE(outcome(*m_game, browser), before);
        QTRY_COMPARE(clicks.size(), 1);
    } else {
        m_game->window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_game->window()));
        target->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), target);
        QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicks.size(), 1);
        // A held key repeats without clicking again; a key with Ctrl is no click.
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(target, &repeat);
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    }
    QTest::qWait(20);
    QCOMPARE(clicks.size(), 1);
    const QStringList pressed = outcome(*m_game, browser);
    QStringList added;
    for (const QString &line : pressed) {
        if (!before.contains(line))
            added << line.section(QLatin1Char(' '), 0, 0);
    }
    QVERIFY2(added.contains(effect), qPrintable(pressed.join(QLatin1Char('\n'))));
    if (effect == QLatin1String("sound")) {
        // A hit by player 1: the square's new number is scored, the turn passes.
        const int worth = game::textValue(target->text());
        QCOMPARE(m_game->label(QStringLiteral("Label5"))->text(), QString::number(worth));
        QCOMPARE(m_game->label(QStringLiteral("Label6"))->text(), QStringLiteral("1"));
        QCOMPARE(m_game->label(QStringLiteral("Label8(2)"))->text(), QStringLiteral("2"));
        QCOMPARE(m_game->sound.resources(), QList<int>{worth < 1 ? 110 : 109});
    }

    // Exactly what a click does on a window in the same state; the click
    // moves no focus.
    testing::GameDriver twin;
    twin.settleBoard();
    twin.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&twin.window()));
    browser.opened.clear();
    const QWidget *focused = twin.window().focusWidget();
    QTest::mouseClick(twin.label(label), Qt::LeftButton);
    QCOMPARE(outcome(twin, browser), pressed);
    QCOMPARE(twin.window().focusWidget(), focused);
}

void TestAccessibility::labelsThatOnlyShowOfferNoPress_data()
{
    QTest::addColumn<QString>("label");
    for (const char *name : {"Label5", "Label6", "Label3", "Label4", "Label7", "Label13", "Label8(2)", "Label10",
                             "Label15", "Label17", "Label9(2)", "Image2", "Image4(0)"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestAccessibility::labelsThatOnlyShowOfferNoPress()
{
    QFETCH(QString, label);
    GameLabel *target = m_game->label(label);
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(target)->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList());
    QSignalSpy clicks(target, &GameLabel::clicked);
    actions->doAction(pressName());
    QTest::qWait(20);
    QCOMPARE(clicks.size(), 0);
}

void TestAccessibility::hitPhrases_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first hit") << game::hitPhrase("PLAYER 1", 7, 7, 1, "PLAYER 2")
                               << "PLAYER 1 scores 7. Total 7 after 1 attempt. Next PLAYER 2.";
    QTest::newRow("negative, renamed") << game::hitPhrase("Eve", -6, -3, 4, "Bob")
                                       << "Eve scores -6. Total -3 after 4 attempts. Next Bob.";
    QTest::newRow("last hit names nobody next") << game::hitPhrase("PLAYER 2", 0, 11, 10, QString())
                                                << "PLAYER 2 scores 0. Total 11 after 10 attempts.";
    QTest::newRow("second player won") << game::endPhrase("2", -4, 3) << "PLAYER 2 WON. Score difference 7.";
    QTest::newRow("first player won") << game::endPhrase("1", 23, 11) << "PLAYER 1 WON. Score difference 12.";
    QTest::newRow("tie") << game::endPhrase("X", 5, 5) << "A tie. Score difference 0.";
}

void TestAccessibility::hitPhrases()
{
    QFETCH(QString, phrase);
    QFETCH(QString, expected);
    QCOMPARE(phrase, expected);
}

namespace {

// The name a focus stop is known by in these tests: a square by its place,
// anything else by its object name.
QString stopName(const QWidget *w)
{
    if (!w)
        return QStringLiteral("<nothing>");
    const QString name = w->accessibleName();
    return name.startsWith(QStringLiteral("Square ")) ? name.section(QLatin1Char(','), 0, 0) : w->objectName();
}

QStringList tabRoundFrom(QWidget *window, Qt::Key key, int presses)
{
    QStringList seen;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, key);
        seen << stopName(QApplication::focusWidget());
    }
    return seen;
}

} // namespace

void TestAccessibility::tabRound()
{
    ui::NumGame &w = m_game->window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // The window opens with the focus on the first square, unmarked.
    QCOMPARE(stopName(QApplication::focusWidget()), QStringLiteral("Square 1"));
    QVERIFY(!m_game->square(true, 0)->showsFocusMark());

    QStringList round;
    for (int n = 2; n <= 20; ++n)
        round << QStringLiteral("Square %1").arg(n);
    round << "Resetz";
    for (int i : {6, 7, 8, 9, 10, 11, 12, 13, 0, 1, 2, 3, 4, 5})
        round << QStringLiteral("Label11(%1)").arg(i);
    round << "Image3(1)" << "Image3(0)" << "Label19" << "Label12" << "Square 1";
    QCOMPARE(tabRoundFrom(&w, Qt::Key_Tab, int(round.size())), round);
    // Shift+Tab goes the same round backwards.
    QStringList back = round;
    std::reverse(back.begin(), back.end());
    back.removeFirst();
    back << "Square 1";
    QCOMPARE(tabRoundFrom(&w, Qt::Key_Backtab, int(back.size())), back);

    // With the score board shown its text comes after Reset, and the
    // squares under the board are passed over.
    w.ScoreBoard_Click();
    auto *text = w.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(text && text->isVisible());
    w.findChild<QPushButton *>(QStringLiteral("Resetz"))->setFocus(Qt::TabFocusReason);
    QCOMPARE(tabRoundFrom(&w, Qt::Key_Tab, 2), QStringList({"Text1", "Label11(6)"}));
    QCOMPARE(tabRoundFrom(&w, Qt::Key_Backtab, 3), QStringList({"Text1", "Resetz", "Label12"}));
}

void TestAccessibility::arrowsMoveOverTheField_data()
{
    QTest::addColumn<int>("from"); // place number, 1 to 20
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("right, first to second series") << 1 << int(Qt::Key_Right) << 2;
    QTest::newRow("left") << 8 << int(Qt::Key_Left) << 7;
    QTest::newRow("down, to the other series") << 2 << int(Qt::Key_Down) << 7;
    QTest::newRow("down along the right edge") << 5 << int(Qt::Key_Down) << 10;
    QTest::newRow("up") << 17 << int(Qt::Key_Up) << 12;
    QTest::newRow("right edge stays") << 10 << int(Qt::Key_Right) << 10;
    QTest::newRow("left edge stays") << 11 << int(Qt::Key_Left) << 11;
    QTest::newRow("top edge stays") << 3 << int(Qt::Key_Up) << 3;
    QTest::newRow("bottom edge stays") << 19 << int(Qt::Key_Down) << 19;
    QTest::newRow("Label2(2), off the grid, is on the field") << 11 << int(Qt::Key_Up) << 6;
}

void TestAccessibility::arrowsMoveOverTheField()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    auto squareAtPlace = [this](int place) {
        const game::SquareRef ref = game::squareAt({(place - 1) / 5, (place - 1) % 5});
        return m_game->square(ref.firstSeries, ref.index);
    };
    m_game->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_game->window()));
    // Reached by the keyboard, as a player reaches it.
    squareAtPlace(from)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(squareAtPlace(from), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QVERIFY(squareAtPlace(from)->showsFocusMark());
    QTest::keyClick(squareAtPlace(from), Qt::Key(key));
    QCOMPARE(stopName(QApplication::focusWidget()), QStringLiteral("Square %1").arg(to));
    QVERIFY(squareAtPlace(to)->showsFocusMark());
    // The arrows only move: nothing is hit.
    QCOMPARE(m_game->window().state().HitCount, qint16(0));
    QCOMPARE(m_game->sound.resources(), QList<int>());
}

void TestAccessibility::wholeGameByKeys()
{
    // Twenty hits by Space on squares reached by the arrows, then one by
    // Return that is refused. Every hit's result is said, the last with the
    // banner and the score difference, and
    // a mouse game on the same squares (in a window made afterwards: the
    // sound goes to the newest window) ends exactly the same.
    ui::NumGame &w = m_game->window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // A snake over the field from the first square: every square once, and
    // back up to the third row for the last hit.
    const Qt::Key R = Qt::Key_Right, L = Qt::Key_Left, D = Qt::Key_Down;
    const Qt::Key path[20] = {R, R, R, R, D, L, L, L, L, D, R, R, R, R, D, L, L, L, L, Qt::Key_Up};
    auto *spoken = w.findChild<ui::Announcer *>(QStringLiteral("Spoken"));
    QVERIFY(spoken);
    QStringList hitSquares;
    for (int hit = 0; hit < 20; ++hit) {
        GameLabel *from = qobject_cast<GameLabel *>(QApplication::focusWidget());
        QVERIFY(from);
        QTest::keyClick(from, path[hit]);
        auto *on = qobject_cast<GameLabel *>(QApplication::focusWidget());
        QVERIFY2(on && on != from, qPrintable(QStringLiteral("hit %1 from %2").arg(hit + 1).arg(stopName(from))));
        QTest::keyClick(on, Qt::Key_Space);
        hitSquares << on->objectName();
        const int player = hit % 2;
        const QString score = m_game->label(player == 0 ? "Label5" : "Label3")->text();
        const QString attempts = m_game->label(player == 0 ? "Label6" : "Label4")->text();
        QCOMPARE(attempts, QString::number(hit / 2 + 1));
        const QString said = spoken->phrase();
        QVERIFY2(said.startsWith(game::hitPhrase(QStringLiteral("PLAYER %1").arg(player + 1), game::textValue(on->text()),
                                                 game::textValue(score), game::textValue(attempts),
                                                 hit == 19 ? QString() : QStringLiteral("PLAYER %1").arg(2 - player))),
                 qPrintable(said));
    }
    auto *last = qobject_cast<GameLabel *>(QApplication::focusWidget());
    QVERIFY(last);
    const QString end = game::endPhrase(m_game->label("Label9(1)")->text(), w.state().FinalScore1,
                                        w.state().FinalScore2);
    QVERIFY2(spoken->phrase().endsWith(QLatin1Char(' ') + end), qPrintable(spoken->phrase()));
    QTest::keyClick(last, Qt::Key_Return);
    QCOMPARE(m_game->dialogs.messages.size(), 1);
    QCOMPARE(m_game->dialogs.messages.last().text, game::gameOverMessage());
    const QStringList byKeys = outcome(*m_game, BrowserStandIn());

    testing::GameDriver twin;
    twin.settleBoard();
    for (const QString &name : hitSquares)
        QTest::mouseClick(twin.label(name), Qt::LeftButton);
    QTest::mouseClick(twin.label(hitSquares.last()), Qt::LeftButton);
    QCOMPARE(byKeys, outcome(twin, BrowserStandIn()));
}

void TestAccessibility::focusMarkOnlyFromKeys()
{
    // What a square looks like: the mark is drawn only after a key moved
    // the focus, inside the border, in neither of the square's colours'
    // place: its text and background colours stay as they were.
    ui::NumGame &w = m_game->window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    GameLabel *first = m_game->square(true, 0);
    QCOMPARE(QApplication::focusWidget(), first);
    const QImage unmarked = first->grab().toImage();
    const QRect geometry = first->geometry();
    const QColor text = first->textColor(), back = first->backColor();
    QVERIFY(!first->showsFocusMark());

    // A click on a square hits it and gives no focus mark.
    GameLabel *other = m_game->square(false, 3);
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(!other->hasFocus());
    QVERIFY(!first->showsFocusMark());
    QCOMPARE(first->grab().toImage(), unmarked);

    QTest::keyClick(&w, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), first);
    QVERIFY(first->showsFocusMark());
    const QImage marked = first->grab().toImage();
    QCOMPARE(first->geometry(), geometry);
    QCOMPARE(first->textColor(), text);
    QCOMPARE(first->backColor(), back);
    QVERIFY(marked != unmarked);
    // The mark lies inside the border, and the centre (the number) is as before.
    const QPoint centre(marked.width() / 2, marked.height() / 2);
    QCOMPARE(marked.pixelColor(centre), unmarked.pixelColor(centre));
    QCOMPARE(marked.pixelColor(0, 0), unmarked.pixelColor(0, 0));
    QCOMPARE(marked.pixelColor(4, marked.height() / 2), QColor(0, 0, 128));
}

void TestAccessibility::scoreBoardTextByKeys()
{
    // The score board's text scrolls by keys once Tab has reached it.
    ui::NumGame &w = m_game->window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto *text = w.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(text);
    w.ScoreBoard_Click();
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("Scores of Game %1, a line long enough to scroll sideways as well as down").arg(i);
    text->setPlainText(lines.join(QLatin1Char('\n')));
    w.findChild<QPushButton *>(QStringLiteral("Resetz"))->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text);
    QCOMPARE(text->verticalScrollBar()->value(), 0);
    QTest::keyClick(text, Qt::Key_PageDown);
    QVERIFY(text->verticalScrollBar()->value() > 0);
    const int afterPage = text->verticalScrollBar()->value();
    QTest::keyClick(text, Qt::Key_Down);
    QTest::keyClick(text, Qt::Key_Down);
    QVERIFY(text->verticalScrollBar()->value() > afterPage);
    QTest::keyClick(text, Qt::Key_Right);
    QVERIFY(text->horizontalScrollBar()->value() > 0);
    QCOMPARE(text->toPlainText(), lines.join(QLatin1Char('\n'))); // read only
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
