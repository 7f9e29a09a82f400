// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The window on a scaled screen. ctest runs this program at QT_SCALE_FACTOR
// 1, 1.5 and 2; each run compares the window with the one the same program
// builds at scale 1 (in a child process): every control keeps its place and
// size in device-independent pixels, the window grabs at the screen's
// density, every text that fits at scale 1 still fits, the pictures show the
// doubled drawings pixel for pixel, and the pointers keep their hot spots.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/hidpi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <memory>

using ui::GameLabel;

namespace {

struct Control
{
    // In the main panel, in device-independent pixels. (The panel itself is
    // centred on the window's outer size, and the frame the desktop puts
    // around the window does not scale with the window: the panel's own
    // place may move by a pixel, so it counts with its size only.)
    QRect rect;
    bool fits = false;
};

// Whether a label's caption fits its rectangle at the screen's scale.
bool textFits(const GameLabel *label)
{
    if (label->text().isEmpty())
        return true;
    const QFontMetricsF fm(label->font(), label);
    const QRectF room = label->contentsRect();
    if (label->wordWrap()) {
        const QRectF needed = fm.boundingRect(room, Qt::TextWordWrap | int(label->alignment()), label->text());
        return needed.width() <= room.width() + 0.01 && needed.height() <= room.height() + 0.01;
    }
    return fm.horizontalAdvance(label->text()) <= room.width() + 0.01 && fm.height() <= room.height() + 0.01;
}

QHash<QString, Control> controlsOf(QWidget &window)
{
    QHash<QString, Control> out;
    QWidget *panel = window.findChild<QWidget *>(QStringLiteral("Frame1(0)"));
    if (!panel)
        qFatal("no main panel");
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || !w->parentWidget())
            continue;
        Control c;
        if (w == panel)
            c.rect = QRect(QPoint(0, 0), w->size());
        else if (panel->isAncestorOf(w))
            c.rect = QRect(w->mapTo(panel, QPoint(0, 0)), w->size());
        else
            c.rect = QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
        auto *label = qobject_cast<GameLabel *>(w);
        c.fits = label ? textFits(label) : true;
        out.insert(w->objectName(), c);
    }
    return out;
}

int dumpControls()
{
    testing::GameDriver game;
    game.window().show();
    if (!QTest::qWaitForWindowExposed(&game.window()))
        return 1;
    QTextStream out(stdout);
    const auto controls = controlsOf(game.window());
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QRect r = it->rect;
        out << it.key() << '\t' << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height() << '\t'
            << (it->fits ? 1 : 0) << '\n';
    }
    return 0;
}

const char *const kDumpFlag = "--controls-at-scale-1";

} // namespace

class TestScale : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void controlsKeepTheirPlaces();
    void textStillFits();
    void grabHasTheScreensDensity();
    void picturesComeFromTheDoubledDrawings();
    void pointersKeepTheirHotSpots();

private:
    qreal m_scale = 1.0;
    QHash<QString, Control> m_reference;
    std::unique_ptr<testing::GameDriver> m_game;
};

void TestScale::initTestCase()
{
    m_scale = qApp->devicePixelRatio();
    qInfo("screen scale %g", m_scale);
    const QByteArray asked = qgetenv("QT_SCALE_FACTOR");
    if (!asked.isEmpty())
        QCOMPARE(m_scale, asked.toDouble());

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kDumpFlag)});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), 0);
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() != 3)
            continue;
        const QList<QByteArray> xywh = parts[1].split(' ');
        QCOMPARE(xywh.size(), 4);
        m_reference.insert(QString::fromUtf8(parts[0]),
                           {QRect(xywh[0].toInt(), xywh[1].toInt(), xywh[2].toInt(), xywh[3].toInt()),
                            parts[2] == "1"});
    }
    QVERIFY(m_reference.size() > 60);

    m_game = std::make_unique<testing::GameDriver>();
    m_game->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_game->window()));
}

void TestScale::controlsKeepTheirPlaces()
{
    const auto controls = controlsOf(m_game->window());
    QCOMPARE(controls.size(), m_reference.size());
    QStringList moved;
    for (auto it = m_reference.begin(); it != m_reference.end(); ++it) {
        const QRect now = controls.value(it.key()).rect;
        if (now != it->rect)
            moved << QStringLiteral("%1 at (%2,%3 %4x%5), at scale 1 (%6,%7 %8x%9)")
                         .arg(it.key())
                         .arg(now.x()).arg(now.y()).arg(now.width()).arg(now.height())
                         .arg(it->rect.x()).arg(it->rect.y()).arg(it->rect.width()).arg(it->rect.height());
    }
    QVERIFY2(moved.isEmpty(), qPrintable(moved.join(QStringLiteral("; "))));
}

void TestScale::textStillFits()
{
    const auto controls = controlsOf(m_game->window());
    QStringList clipped;
    int checked = 0;
    for (auto it = m_reference.begin(); it != m_reference.end(); ++it) {
        if (!it->fits)
            continue; // already tight at scale 1: the layout's own business
        ++checked;
        if (!controls.value(it.key()).fits)
            clipped << it.key();
    }
    QVERIFY(checked > 40);
    QVERIFY2(clipped.isEmpty(), qPrintable(QStringLiteral("text no longer fits: ") + clipped.join(u' ')));

    // The frames' captions and the button's caption too.
    for (auto *frame : m_game->window().findChildren<QGroupBox *>()) {
        if (frame->title().isEmpty())
            continue;
        const QFontMetricsF fm(frame->font(), frame);
        QVERIFY2(fm.horizontalAdvance(frame->title()) < frame->width() - 8, qPrintable(frame->objectName()));
    }
    auto *reset = m_game->window().findChild<QAbstractButton *>(QStringLiteral("Resetz"));
    QVERIFY(reset);
    const QFontMetricsF fm(reset->font(), reset);
    QVERIFY(fm.horizontalAdvance(reset->text()) < reset->width() - 4);
    QVERIFY(fm.height() < reset->height());
}

void TestScale::grabHasTheScreensDensity()
{
    const QPixmap shot = m_game->window().grab();
    QCOMPARE(shot.devicePixelRatio(), m_scale);
    const QSize logical = m_game->window().size();
    QCOMPARE(shot.width(), qCeil(logical.width() * m_scale - 0.01));
    QCOMPARE(shot.height(), qCeil(logical.height() * m_scale - 0.01));
}

void TestScale::picturesComeFromTheDoubledDrawings()
{
    const struct { const char *name; const char *resource; QSize natural; } pictures[] = {
        {"Image4(0)", ":/pictures/title.gif", {142, 46}},
        {"Image2", ":/pictures/logo.gif", {165, 52}},
        {"Image3(0)", ":/pictures/symbol_navy.gif", {36, 50}},
        {"Image3(1)", ":/pictures/symbol_red.gif", {36, 50}},
    };
    const QImage shot = m_game->window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const auto &p : pictures) {
        GameLabel *label = m_game->label(QString::fromLatin1(p.name));
        const QPixmap shown = label->pixmap();
        QCOMPARE(label->size(), p.natural);
        QCOMPARE(shown.devicePixelRatio(), m_scale);
        QCOMPARE(shown.width(), qCeil(p.natural.width() * m_scale - 0.01));
        QCOMPARE(shown.height(), qCeil(p.natural.height() * m_scale - 0.01));
        if (!qFuzzyCompare(m_scale, 2.0))
            continue;
        // At scale 2 the window shows the doubled drawing itself, pixel for
        // pixel: not the small picture blown up.
        const QImage doubled =
            QImage(ui::doubledName(QString::fromLatin1(p.resource))).convertToFormat(QImage::Format_RGB32);
        const QImage small = QImage(QString::fromLatin1(p.resource)).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(doubled.size(), p.natural * 2);
        const QPoint at = label->mapTo(&m_game->window(), QPoint(0, 0)) * 2;
        const QImage region = shot.copy(QRect(at, doubled.size()));
        QCOMPARE(region, doubled);
        QVERIFY2(region != small.scaled(small.size() * 2), p.name);
    }
}

void TestScale::pointersKeepTheirHotSpots()
{
    GameLabel *square = m_game->square(true, 0);
    m_game->window().Label1_MouseMove(0);
    const QCursor up = square->cursor();
    QCOMPARE(up.shape(), Qt::BitmapCursor);
    const QImage image = up.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const bool doubled = m_scale >= 1.5;
    QCOMPARE(image.size(), doubled ? QSize(64, 64) : QSize(32, 32));
    QCOMPARE(up.pixmap().devicePixelRatio(), doubled ? 2.0 : 1.0);
    // This platform takes the hot spot in device-independent pixels: the
    // arrow's tip, (16,19) of the small image, is the same spot at any scale.
    QCOMPARE(up.hotSpot(), QPoint(16, 19));
    // ... and in the image's own pixels that spot is the tip: drawn, with
    // nothing drawn below it.
    const int k = doubled ? 2 : 1;
    QVERIFY(qAlpha(image.pixel(16 * k, 19 * k)) != 0);
    QVERIFY(qAlpha(image.pixel(16 * k, 20 * k)) == 0);
    QVERIFY(qAlpha(image.pixel(15 * k - 1, 19 * k)) == 0);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kDumpFlag) == 0)
        return dumpControls();
    TestScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scale.moc"
