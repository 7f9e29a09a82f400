// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What assistive tools read from the window, through Qt's accessibility
// interfaces (the ones the AT-SPI bridge serves): the squares by their place
// in the field with their texts as descriptions, kept current and announced
// as they change; the scores, attempts and turn; the menu's access keys;
// and the press action on the labels that react to clicks.

#include "game/textvalue.h"
#include "support/gamedriver.h"
#include "ui/gamelabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDesktopServices>
#include <QMenuBar>
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
        QCOMPARE(accessibleText(square, QAccessible::Description), square->text());

    // On a fresh board (every square "-0") a hit renumbers both series, and
    // every square reads its new text. (That the change is announced over
    // AT-SPI is checked by tests/e2e/e2e_accessibility.sh: this platform has
    // no accessibility bridge to announce to.)
    testing::GameDriver fresh;
    QList<GameLabel *> board;
    for (int i = 0; i < 10; ++i)
        board << fresh.square(true, i) << fresh.square(false, i);
    for (GameLabel *square : board)
        QCOMPARE(accessibleText(square, QAccessible::Description), QStringLiteral("-0"));
    fresh.window().Label2_Click(4);
    int changed = 0;
    for (GameLabel *square : board) {
        QCOMPARE(accessibleText(square, QAccessible::Description), square->text());
        changed += square->text() != QStringLiteral("-0") ? 1 : 0;
    }
    QCOMPARE(changed, 18); // each series shows "-0" on one square again
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
        QVERIFY2(ours->role() == qts->role(), qPrintable(what));
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
    QCOMPARE(QAccessible::queryAccessibleInterface(m_game->square(true, 0))->role(), QAccessible::StaticText);
    QCOMPARE(QAccessible::queryAccessibleInterface(m_game->label(QStringLiteral("Image3(0)")))->role(),
             QAccessible::Graphic);
}

void TestAccessibility::pressActionClicks_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("effect"); // the kind of outcome line the click adds
    QTest::newRow("square, first series") << "Label1(3)" << "sound";
    QTest::newRow("square, second series") << "Label2(6)" << "sound";
    QTest::newRow("trial catalogue entry") << "Label11(0)" << "message";
    QTest::newRow("free catalogue entry") << "Label11(9)" << "message";
    QTest::newRow("Visit link") << "Label12" << "url";
    QTest::newRow("Free Download link") << "Label19" << "url";
    QTest::newRow("navy symbol") << "Image3(0)" << "message";
    QTest::newRow("red symbol") << "Image3(1)" << "message";
}

void TestAccessibility::pressActionClicks()
{
    QFETCH(QString, label);
    QFETCH(QString, effect);
    BrowserStandIn browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    const auto restore = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });

    GameLabel *target = m_game->label(label);
    QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(target)->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(pressName()));
    const QStringList before = outcome(*m_game, browser);
    QSignalSpy clicks(target, &GameLabel::clicked);
    actions->doAction(pressName());
    // The click comes from the event loop, as a button's does.
    QCOMPARE(outcome(*m_game, browser), before);
    QTRY_COMPARE(clicks.size(), 1);
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

    // Exactly what a click does on a window in the same state.
    testing::GameDriver twin;
    twin.settleBoard();
    twin.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&twin.window()));
    browser.opened.clear();
    QTest::mouseClick(twin.label(label), Qt::LeftButton);
    QCOMPARE(outcome(twin, browser), pressed);
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
