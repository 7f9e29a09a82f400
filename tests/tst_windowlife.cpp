// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The window's life around the game: start-up, the panel kept centred on
// resize, the background colour cycle, and exit.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"
#include "ui/palette.h"
#include "ui/windowframe.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

using testing::GameDriver;

class TestWindowLife : public QObject
{
    Q_OBJECT
private slots:
    void startUp();
    void panelOrigin_data();
    void panelOrigin();
    void panelPlace_data();
    void panelPlace();
    void frameUnknown_data();
    void frameUnknown();
    void panelFollowsTheWindow_data();
    void panelFollowsTheWindow();
    void firstEighteenColourTicks();
    void cycleCountWrapsInPaletteOrder();
    void exitEndsTheProgram();
};

void TestWindowLife::startUp()
{
    GameDriver game;
    QCOMPARE(game.window().state().PlayerName[0], QStringLiteral("PLAYER 1"));
    QCOMPARE(game.window().state().PlayerName[1], QStringLiteral("PLAYER 2"));
    // The new game ran after the names were set.
    QCOMPARE(game.label("Label17")->text(), QStringLiteral("ITS TURN OF PLAYER 1"));
    QCOMPARE(game.window().state().HitCount, 0);
    QVERIFY(!game.timer("Timer1")->isRunning());
    QCOMPARE(game.timer("Timer3")->interval(), 5000);
    QVERIFY(game.timer("Timer3")->isRunning());
    QCOMPARE(game.window().blinkCount(), 0);
    QVERIFY(game.sound.images.isEmpty()); // start-up is silent
}

void TestWindowLife::panelOrigin_data()
{
    QTest::addColumn<float>("outerWidth");
    QTest::addColumn<float>("outerHeight");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");

    QTest::newRow("example") << 12000.0f << 8520.0f << 67.5 << 52.5;
    QTest::newRow("just fits") << 11865.0f << 8415.0f << 0.0 << 0.0;
    QTest::newRow("a twip too small") << 11864.0f << 8414.0f << -0.5 << -0.5;
    QTest::newRow("narrow and tall") << 6000.0f << 12000.0f << -2932.5 << 1792.5;
    QTest::newRow("minimised") << 0.0f << 0.0f << -5932.5 << -4207.5;
    QTest::newRow("large screen") << 28800.0f << 16200.0f << 8467.5 << 3892.5;
}

void TestWindowLife::panelOrigin()
{
    QFETCH(float, outerWidth);
    QFETCH(float, outerHeight);
    QFETCH(double, left);
    QFETCH(double, top);

    const QPointF origin = ui::centredPanelOrigin(outerWidth, outerHeight, 11745.0f, 7695.0f);
    QCOMPARE(origin.x(), left);
    QCOMPARE(origin.y(), top);
}

void TestWindowLife::panelPlace_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("keepInside");
    QTest::addColumn<QPoint>("place");

    // A known frame: the centring alone, even where the panel leaves the
    // client area (a window with no frame at all, or made small).
    QTest::newRow("openbox's frame") << QSize(792, 573) << QSize(792, 524) << false << QPoint(1, 6);
    QTest::newRow("no frame, known") << QSize(792, 542) << QSize(792, 524) << false << QPoint(1, -10);
    QTest::newRow("small, known") << QSize(400, 300) << QSize(400, 282) << false << QPoint(-196, -131);
    // An assumed frame: centred for it when that shows the panel whole ...
    QTest::newRow("Breeze's title bar assumed") << QSize(792, 579) << QSize(792, 524) << true << QPoint(1, 9);
    QTest::newRow("large window") << QSize(1400, 1037) << QSize(1400, 982) << true << QPoint(305, 238);
    // ... and otherwise moved the least it takes to show whole.
    QTest::newRow("would cut the top") << QSize(792, 542) << QSize(792, 524) << true << QPoint(1, 0);
    QTest::newRow("would cut the bottom") << QSize(792, 700) << QSize(792, 520) << true << QPoint(1, 7);
    QTest::newRow("would cut the right") << QSize(820, 579) << QSize(784, 524) << true << QPoint(1, 9);
    QTest::newRow("room for none of it") << QSize(400, 337) << QSize(400, 282) << true << QPoint(0, 0);
}

void TestWindowLife::panelPlace()
{
    QFETCH(QSize, outer);
    QFETCH(QSize, client);
    QFETCH(bool, keepInside);
    QFETCH(QPoint, place);
    QCOMPARE(ui::mainPanelPlace(outer, client, keepInside), place);
}

void TestWindowLife::frameUnknown_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QMargins>("margins");
    QTest::addColumn<bool>("frameless");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<bool>("unknown");

    QTest::newRow("Wayland, the compositor's frame") << "wayland" << QMargins() << false << false << true;
    QTest::newRow("Wayland through EGL") << "wayland-egl" << QMargins() << false << false << true;
    QTest::newRow("Wayland, Qt's frame") << "wayland" << QMargins(3, 30, 3, 3) << false << false << false;
    QTest::newRow("Wayland, frameless") << "wayland" << QMargins() << true << false << false;
    QTest::newRow("Wayland, full screen") << "wayland" << QMargins() << false << true << false;
    QTest::newRow("X11, no window manager") << "xcb" << QMargins() << false << false << false;
    QTest::newRow("X11, framed") << "xcb" << QMargins(0, 37, 0, 0) << false << false << false;
    QTest::newRow("offscreen") << "offscreen" << QMargins() << false << false << false;
}

void TestWindowLife::frameUnknown()
{
    QFETCH(QString, platform);
    QFETCH(QMargins, margins);
    QFETCH(bool, frameless);
    QFETCH(bool, fullScreen);
    QFETCH(bool, unknown);
    QCOMPARE(ui::frameIsUnknown(platform, margins, frameless, fullScreen), unknown);
}

void TestWindowLife::panelFollowsTheWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("example, 800 x 568") << QSize(800, 568);
    QTest::newRow("large") << QSize(1400, 1000);
    QTest::newRow("smaller than the panel") << QSize(400, 300);
}

// The outer size counts, menu bar included, and only the panel moves.
void TestWindowLife::panelFollowsTheWindow()
{
    QFETCH(QSize, size);

    GameDriver game;
    ui::NumGame &w = game.window();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QWidget *panel = w.findChild<QWidget *>(QStringLiteral("Frame1(0)"));
    QVERIFY(panel);
    const QRect squareBefore = game.square(true, 4)->geometry();
    const QSize panelSize = panel->size();

    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    const QSize outer = w.frameGeometry().size();
    QVERIFY(outer.height() >= size.height());
    const float leftTwips = (float(outer.width()) * 15.0f - 11745.0f) / 2.0f - 60.0f;
    const float topTwips = (float(outer.height()) * 15.0f - 7695.0f) / 2.0f - 360.0f;
    QTRY_COMPARE(panel->pos(), QPoint(qRound(leftTwips / 15.0f), qRound(topTwips / 15.0f)));
    QCOMPARE(panel->size(), panelSize);
    QCOMPARE(game.square(true, 4)->geometry(), squareBefore); // keeps its place in the panel
    if (size.width() < 783)
        QVERIFY(panel->pos().x() < 0);
    // The menu bar is part of the outer height; the client height alone
    // would put the panel elsewhere.
    const int clientHeight = w.height() - w.menuBar()->height();
    const float clientTop = (float(clientHeight) * 15.0f - 7695.0f) / 2.0f - 360.0f;
    QVERIFY(panel->pos().y() != qRound(clientTop / 15.0f));
}

void TestWindowLife::firstEighteenColourTicks()
{
    GameDriver game;
    QWidget *client = game.window().findChild<QWidget *>(QStringLiteral("NumGame"));
    QVERIFY(client);
    QWidget *panel = game.window().findChild<QWidget *>(QStringLiteral("Frame1(0)"));
    const QColor panelColour = panel->palette().color(QPalette::Window);
    QCOMPARE(client->palette().color(QPalette::Window), QColor(0, 0, 128));

    const QList<QColor> palette{
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128}, {128, 0, 0},   {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    ui::IntervalTimer *timer3 = game.timer("Timer3");
    for (int tick = 0; tick < 18; ++tick) {
        if (tick % 2)
            emit timer3->timeout(); // as the timer would
        else
            game.window().Timer3_Timer();
        QCOMPARE(client->palette().color(QPalette::Window), palette.at(tick % 16));
    }
    QCOMPARE(panel->palette().color(QPalette::Window), panelColour);
    QCOMPARE(game.square(true, 0)->backColor(), QColor(224, 224, 224));
}

// After 32767 ticks the count cannot grow; it starts again at 0, and as
// 32767 is the last of a cycle of sixteen the colours go on in order.
void TestWindowLife::cycleCountWrapsInPaletteOrder()
{
    qint16 count = 32760;
    QList<int> indices;
    for (int tick = 0; tick < 12; ++tick) {
        indices << count % 16;
        count = ui::nextCycleCount(count);
    }
    QCOMPARE(indices, QList<int>({8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3}));
    QCOMPARE(count, 4);
    QCOMPARE(ui::nextCycleCount(0), 1);
    QCOMPARE(ui::nextCycleCount(32766), 32767);
}

void TestWindowLife::exitEndsTheProgram()
{
    GameDriver game;
    game.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&game.window()));
    game.window().Label1_Click(2);
    bool timedOut = false;
    QTimer::singleShot(0, &game.window(), [&] {
        auto *exitz = game.window().findChild<QAction *>(QStringLiteral("Exitz"));
        QVERIFY(exitz);
        exitz->trigger();
    });
    QTimer::singleShot(5000, qApp, [&] {
        timedOut = true;
        qApp->exit(1);
    });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!timedOut);
    QVERIFY(!game.window().isVisible());
    QVERIFY(game.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestWindowLife)
#include "tst_windowlife.moc"
