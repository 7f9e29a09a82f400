// What assistive tools read from the window, through Qt's accessibility
// interfaces (the ones the AT-SPI bridge serves): the squares by their place
// in the field with their texts as descriptions, kept current and announced
// as they change; the scores, attempts and turn; the menu's access keys.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenuBar>
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
