// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The die the window shows: the embedded pictures behind the desktop id, at
// the sizes a window icon takes, and the game window wearing them. (The
// desktop's larger sizes are checked where they are installed.)

#include "support/gamedriver.h"
#include "ui/appicon.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTest>

#include <algorithm>

using testing::GameDriver;

namespace {

// What the window icon offers: a window system takes no larger ones.
const QList<int> kWindowSizes = {16, 32, 48, 64, 128};

// Counts the pixels that are clearly red or clearly blue, in the left and
// the right half of a picture.
struct PipCount {
    int redLeft = 0, redRight = 0, blueLeft = 0, blueRight = 0;
};

PipCount countPips(const QImage &img)
{
    PipCount n;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.alpha() < 200)
                continue;
            const bool left = x < img.width() / 2;
            if (c.red() > 110 && c.green() < 60 && c.blue() < 60)
                (left ? n.redLeft : n.redRight)++;
            if (c.blue() > 110 && c.red() < 60 && c.green() < 60)
                (left ? n.blueLeft : n.blueRight)++;
        }
    return n;
}

} // namespace

class TestAppIcon : public QObject
{
    Q_OBJECT
private slots:
    void everySizeIsEmbedded_data();
    void everySizeIsEmbedded();
    void noOtherIconIsEmbedded();
    void iconOffersEverySizeUnscaled();
    void windowWearsTheDie();
};

void TestAppIcon::everySizeIsEmbedded_data()
{
    QTest::addColumn<int>("size");
    for (int size : kWindowSizes)
        QTest::addRow("%dx%d", size, size) << size;
}

// Each picture is there under the desktop id, drawn for its own size: a die
// on a clear ground with red pips on the left and blue ones on the right.
void TestAppIcon::everySizeIsEmbedded()
{
    QFETCH(int, size);
    const QString path = QStringLiteral(":/desktop/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(ui::desktopId());
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const QImage img = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(size, size));
    // The corners around the rounded die stay transparent.
    QCOMPARE(img.pixelColor(0, size - 1).alpha(), 0);
    QCOMPARE(img.pixelColor(size - 1, 0).alpha(), 0);
    const PipCount pips = countPips(img);
    QVERIFY2(pips.redLeft > 0 && pips.blueRight > 0, "no red and blue pips");
    QCOMPARE(pips.redRight, 0);
    QCOMPARE(pips.blueLeft, 0);
}

// The program carries no picture of the die that the window never shows:
// no larger size and no scalable one.
void TestAppIcon::noOtherIconIsEmbedded()
{
    QStringList pictures;
    QDirIterator it(QStringLiteral(":/"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(QLatin1String(":/qt-project.org/")))
            pictures << path;
    }
    QStringList icons = pictures.filter(QStringLiteral(":/desktop/"));
    icons.sort();
    QStringList expected;
    for (int size : kWindowSizes)
        expected << QStringLiteral(":/desktop/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(ui::desktopId());
    expected.sort();
    QCOMPARE(icons, expected);
    // The pointers and pictures the window does show are still there.
    QVERIFY(pictures.contains(QStringLiteral(":/icons/110.ico")));
    QVERIFY(pictures.contains(QStringLiteral(":/pictures/title.gif")));
}

// Asking for a size gives that size's own picture, not another one scaled.
void TestAppIcon::iconOffersEverySizeUnscaled()
{
    const QIcon icon = ui::appIcon();
    QList<int> offered;
    for (const QSize &s : icon.availableSizes()) {
        QCOMPARE(s.width(), s.height());
        offered << s.width();
    }
    std::sort(offered.begin(), offered.end());
    QCOMPARE(offered, kWindowSizes);
    for (int size : kWindowSizes) {
        const QString path =
            QStringLiteral(":/desktop/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(ui::desktopId());
        // Compared premultiplied, as a pixmap holds them: turning them back
        // to straight alpha rounds edge pixels differently on different
        // processors.
        const QImage own = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage given =
            icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(given == own, qPrintable(QStringLiteral("%1 pixels").arg(size)));
    }
    // In between, the next larger picture drawn smaller; beyond, the largest.
    QCOMPARE(icon.pixmap(QSize(24, 24)).size(), QSize(24, 24));
    QCOMPARE(icon.pixmap(QSize(512, 512)).size(), QSize(128, 128));
}

void TestAppIcon::windowWearsTheDie()
{
    GameDriver game;
    const QIcon icon = game.window().windowIcon();
    QCOMPARE(icon.availableSizes().size(), kWindowSizes.size());
    const QImage big = icon.pixmap(QSize(128, 128)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(big.size(), QSize(128, 128));
    const QImage own =
        QImage(QStringLiteral(":/desktop/icons/hicolor/128x128/apps/%1.png").arg(ui::desktopId()))
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(big == own);
}

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
