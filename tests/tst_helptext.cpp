// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The help text, byte for byte, and the Help command that shows it.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/helptext.h"
#include "ui/numgame.h"

#include <QAction>
#include <QTest>

class TestHelpText : public QObject
{
    Q_OBJECT
private slots:
    void textIsExact();
    void helpCommandShowsOneInformationBox();
};

void TestHelpText::textIsExact()
{
    const QStringList lines = {
        "\t\tHOW TO PLAY THIS GAME",
        "",
        "After opening this program, go to menu item 'Set Players' and if desired",
        "change the names of PLAYER 1 and PLAYER 2. However, this is optional",
        "and you can skip this action.",
        "",
        "In this game there are two players. Each player has 10 attempts to hit on",
        "the squares. The number which appears on hitting any square is the",
        "SCORE obtained by that player. The hitting is to be made alternatively. At",
        "the end of 10th round the game is over and the player who scores more is",
        "declared as WINNER. Cumulative score of Player 1 is shown on left side of",
        "screen in red while that of Player 2 is shown on right in deep blue. Number",
        "of attempts made are shown below the scores",
        "",
        "The menu items are self explanatory and one can see the effect by clicking",
        "them.",
    };
    const QString text = ui::helpText();
    QCOMPARE(text.toUtf8(), (lines.join("\r\n") + "\r\n").toUtf8());

    // The same, as the shape a reader sees: two leading tabs, sixteen lines
    // ended by CR LF, three of them empty, and no bare line feed anywhere.
    QVERIFY(text.startsWith("\t\tHOW"));
    QVERIFY(text.endsWith("them.\r\n"));
    QCOMPARE(text.count("\r\n"), 16);
    QCOMPARE(text.count('\n'), 16);
    QCOMPARE(text.count('\r'), 16);
    QCOMPARE(text.count("\r\n\r\n"), 3);
}

void TestHelpText::helpCommandShowsOneInformationBox()
{
    testing::GameDriver driver;
    ui::NumGame &window = driver.window();
    testing::FakeDialogs &dialogs = driver.dialogs;

    // Mid-game: the help must leave the game exactly as it was.
    window.Label1_Click(2);
    window.Label2_Click(7);
    window.Label1_Click(4);
    dialogs.messages.clear();
    const game::GameState before = window.state();
    auto labelText = [&](const char *name) { return driver.label(name)->text(); };
    const QStringList displaysBefore = {labelText("Label3"), labelText("Label5"), labelText("Label4"),
                                        labelText("Label6"), labelText("Label17"), labelText("Label8(2)")};

    QAction *help = window.findChild<QAction *>("Helpz");
    QVERIFY(help);
    QCOMPARE(help->text(), QString("&Help"));
    help->trigger();

    QCOMPARE(dialogs.messages.size(), 1);
    const testing::ShownMessage &box = dialogs.messages.first();
    QCOMPARE(box.text, ui::helpText());
    QCOMPARE(box.icon, ui::Dialogs::Icon::Information);
    QCOMPARE(box.buttons, ui::Dialogs::Buttons::Ok);
    QVERIFY(box.title.isEmpty()); // the application title
    QVERIFY(dialogs.prompts.isEmpty());

    const game::GameState &after = window.state();
    QCOMPARE(after.HitCount, before.HitCount);
    QCOMPARE(after.HitValue, before.HitValue);
    QCOMPARE(after.HitHistory1, before.HitHistory1);
    QCOMPARE(after.HitHistory2, before.HitHistory2);
    QCOMPARE(after.PlayerName, before.PlayerName);
    const QStringList displaysAfter = {labelText("Label3"), labelText("Label5"), labelText("Label4"),
                                       labelText("Label6"), labelText("Label17"), labelText("Label8(2)")};
    QCOMPARE(displaysAfter, displaysBefore);

    // Asking again shows the same box again.
    help->trigger();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages.last().text, box.text);
}

QTEST_MAIN(TestHelpText)
#include "tst_helptext.moc"
