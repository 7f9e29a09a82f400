// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// tests/e2e/windowlayout.sh, by which the end-to-end tests, the package
// test, the click benchmark and tools/screenshot find the controls, against
// the real window: the panel's place for any outer size, and every point the
// scripts click or read on a window at its designed size.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/palette.h"
#include "ui/twips.h"

#include <QAction>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QWindow>

namespace {

struct Answer
{
    int exitCode = -1; // -1: bash did not run, or did not answer in numbers
    QString out, errors;
    QList<int> numbers;
};

// Runs bash lines with windowlayout.sh sourced, under set -eu as the
// scripts that use it.
Answer shell(const QString &lines)
{
    Answer a;
    QProcess bash;
    bash.start(QStringLiteral("bash"), {QStringLiteral("-c"), QStringLiteral("set -eu; . \"$0\"; ") + lines,
                                        QStringLiteral(TAVROLIN_WINDOWLAYOUT_SH)});
    if (!bash.waitForFinished(60000) || bash.exitStatus() != QProcess::NormalExit) {
        a.errors = bash.errorString();
        return a;
    }
    a.exitCode = bash.exitCode();
    a.out = QString::fromUtf8(bash.readAllStandardOutput());
    a.errors = QString::fromUtf8(bash.readAllStandardError());
    for (const QString &word : a.out.simplified().split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        a.numbers << word.toInt(&ok);
        if (!ok)
            a.exitCode = -1;
    }
    return a;
}

QPoint point(const Answer &a, int at = 0)
{
    return a.numbers.size() >= at + 2 ? QPoint(a.numbers.at(at), a.numbers.at(at + 1)) : QPoint(-9999, -9999);
}

// A frameless window at its designed size, as under a bare X server.
void showBare(ui::NumGame &w)
{
    w.setWindowFlag(Qt::FramelessWindowHint);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace

class TestShellLayout : public QObject
{
    Q_OBJECT
private slots:
    void centringAgreesForEverySize();
    void panelOnTheRealWindow_data();
    void panelOnTheRealWindow();
    void pointsOnTheRealWindow();
    void refusesWhatIsNotAPixel();
};

// Every outer size up to a 4K screen's width, against what NumGame::
// Form_Resize does: the even sizes put the panel on half pixels, rounded
// away from zero, and below 791 x 561 it stands partly off the window.
// No bash, or no windowlayout.sh, fails here.
void TestShellLayout::centringAgreesForEverySize()
{
    const int largest = 4000;
    const Answer a = shell(QStringLiteral("for v in $(seq 0 %1); do panel_offset $v $v; done").arg(largest));
    QVERIFY2(a.exitCode == 0 && a.numbers.size() == 2 * (largest + 1), qPrintable(a.errors));
    for (int v = 0; v <= largest; ++v) {
        const QPointF twips = ui::centredPanelOrigin(float(v * ui::TwipsPerPixel), float(v * ui::TwipsPerPixel),
                                                     float(ui::MainPanelWidthTwips), float(ui::MainPanelHeightTwips));
        const QPoint game(ui::twipsToPixels(twips.x()), ui::twipsToPixels(twips.y()));
        QVERIFY2(point(a, 2 * v) == game, qPrintable(QStringLiteral("outer size %1 x %1").arg(v)));
    }
}

void TestShellLayout::panelOnTheRealWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("designed size") << QSize();
    QTest::newRow("odd, 801 x 569") << QSize(801, 569);
    QTest::newRow("half a pixel left and up") << QSize(790, 560);
    QTest::newRow("smaller than the panel") << QSize(400, 300);
    QTest::newRow("large, odd") << QSize(1401, 999);
}

// The panel where panel_offset puts it for the outer size the window
// itself reports, frame included.
void TestShellLayout::panelOnTheRealWindow()
{
    QFETCH(QSize, size);
    testing::GameDriver game;
    ui::NumGame &w = game.window();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (size.isValid()) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
    }
    auto *panel = w.findChild<QWidget *>(QStringLiteral("Frame1(0)"));
    QVERIFY(panel);
    const QSize outer = w.windowHandle()->frameGeometry().size();
    const Answer a = shell(QStringLiteral("panel_offset %1 %2; panel_size").arg(outer.width()).arg(outer.height()));
    QVERIFY2(a.exitCode == 0, qPrintable(a.errors));
    QTRY_COMPARE(panel->pos(), point(a));
    QCOMPARE(point(a, 2), QPoint(panel->width(), panel->height()));
}

// From the geometry xdotool reports for a bare window at its designed size:
// the panel, the board, every hit's square, the banner, Reset and Exit.
void TestShellLayout::pointsOnTheRealWindow()
{
    testing::GameDriver game;
    ui::NumGame &w = game.window();
    showBare(w);
    // What panel_origin takes for granted.
    QCOMPARE(w.windowHandle()->frameGeometry().size(), w.size());
    QCOMPARE(w.centralWidget()->height(), ui::twipsToPixels(ui::FormHeightTwips));

    const QPoint at(37, 11); // anywhere on the screen
    auto onScreen = [&](const QWidget *widget) { return at + widget->mapTo(&w, QPoint()); };
    const Answer a = shell(QStringLiteral(
        "panel_origin %1 %2 %3 %4; exit_point %1 %2 %3 %4\n"
        "read -r px py < <(panel_origin %1 %2 %3 %4); reset_point $px $py; board_origin $px $py\n"
        "read -r bx by < <(board_origin $px $py); banner_point $bx $by; banner_box $bx $by\n"
        "for n in $(seq 0 19); do\n"
        "    read -r row col < <(hit_square $n); echo $row $col\n"
        "    square_point $row $col $bx $by; square_point $row $col $bx $by 6 6\n"
        "done").arg(at.x()).arg(at.y()).arg(w.width()).arg(w.height()));
    QVERIFY2(a.exitCode == 0 && a.numbers.size() == 14 + 20 * 6, qPrintable(a.errors + a.out));

    QCOMPARE(point(a, 0), onScreen(w.findChild<QWidget *>(QStringLiteral("Frame1(0)"))));
    QMenuBar *bar = w.menuBar();
    QAction *exit = bar->actionAt(bar->mapFrom(&w, point(a, 2) - at));
    QVERIFY(exit && exit->objectName() == QStringLiteral("Exitz"));
    auto *reset = w.findChild<QPushButton *>(QStringLiteral("Resetz"));
    QCOMPARE(w.childAt(point(a, 4) - at), reset);
    QVERIFY(QRect(onScreen(reset), reset->size()).adjusted(10, 5, -10, -5).contains(point(a, 4)));
    QCOMPARE(point(a, 6), onScreen(w.findChild<QWidget *>(QStringLiteral("Frame1(1)"))));

    // The banner: a point of Label9(0)'s green ground, and the three parts.
    ui::GameLabel *player = game.bannerPart(0);
    QRect banner;
    for (int i = 0; i < 3; ++i)
        banner |= QRect(onScreen(game.bannerPart(i)), game.bannerPart(i)->size());
    QCOMPARE(QRect(point(a, 10), QSize(a.numbers.at(12), a.numbers.at(13))), banner);
    auto ground = [&] { return w.grab().toImage().pixelColor(point(a, 8) - at); };
    QVERIFY(ground() != QColor(0, 128, 0));
    player->show();
    QCOMPARE(ground(), QColor(0, 128, 0));

    // The twenty hits: each on its own square, never the same one twice
    // running, in the middle of its place on the grid (columns as in the
    // first row, rows as in the last column: one square was placed by hand
    // 2 px off the grid, and is still well under it); its colour is read
    // 6 px in from the grid's corner.
    QSet<QWidget *> hit;
    QWidget *previous = nullptr;
    for (int n = 0, i = 14; n < 20; ++n, i += 6) {
        const int row = a.numbers.at(i), col = a.numbers.at(i + 1);
        QVERIFY(row >= 0 && row < 4 && col >= 0 && col < 5);
        QWidget *square = game.square((row + col) % 2 == 0, (row * 5 + col) / 2);
        const QPoint grid(onScreen(game.square(col % 2 == 0, col / 2)).x(),
                          onScreen(game.square(row % 2 == 0, (row * 5 + 4) / 2)).y());
        QCOMPARE(point(a, i + 2), grid + QPoint(square->width() / 2, square->height() / 2));
        QCOMPARE(point(a, i + 4), grid + QPoint(6, 6));
        QCOMPARE(w.childAt(point(a, i + 2) - at), square);
        QCOMPARE(w.childAt(point(a, i + 4) - at), square);
        QVERIFY(square != previous);
        hit.insert(square);
        previous = square;
    }
    QCOMPARE(hit.size(), 20);
}

// A size worked out at a fractional scale, a missing argument, a name where
// a number belongs (bash's arithmetic would take it for 0), a square off
// the field: the function's own error and no answer, so a script's read
// fails.
void TestShellLayout::refusesWhatIsNotAPixel()
{
    const QList<std::pair<QString, QString>> calls = {
        {QStringLiteral("panel_offset 792.5 546"), QStringLiteral("'792.5' is not a whole number")},
        {QStringLiteral("panel_offset 792"), QStringLiteral("'' is not a whole number")},
        {QStringLiteral("set +u; panel_origin 0 0 792 HEIGHT"), QStringLiteral("'HEIGHT' is not a whole number")},
        {QStringLiteral("square_point 4 0 0 0"), QStringLiteral("no square in row 4, column 0")},
        {QStringLiteral("square_point 0 0 0"), QStringLiteral("square_point ROW COLUMN")},
        {QStringLiteral("read -r x y < <(banner_point 1e3 0); echo reached"), QStringLiteral("'1e3' is not")},
    };
    for (const auto &[call, why] : calls) {
        const Answer a = shell(call);
        QVERIFY2(a.exitCode > 0 && a.out.isEmpty(), qPrintable(call + QStringLiteral(": said ") + a.out));
        QVERIFY2(a.errors.contains(QStringLiteral("windowlayout: ")) && a.errors.contains(why),
                 qPrintable(call + QStringLiteral(": ") + a.errors));
    }
}

QTEST_MAIN(TestShellLayout)
#include "tst_shelllayout.moc"
