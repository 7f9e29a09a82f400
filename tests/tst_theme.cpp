// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The window under a light and a dark desktop palette: the colours the game
// sets stay exactly as designed, the game's panel keeps a face its dark text
// colours read on, every visible text reads against what lies behind it, and
// the menu bar and message boxes follow the desktop's palette.

#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/surface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

using ui::GameLabel;
using ui::contrastRatio;

namespace {

// A dark desktop palette of the kind the GTK platform theme hands Qt under
// Adwaita's dark variant.
QPalette darkDesktop()
{
    QPalette p;
    const QColor face(53, 53, 53), text(238, 238, 236), base(45, 45, 45);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, face);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Button, face);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, face);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::ToolTipBase, QColor(30, 30, 30));
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::Highlight, QColor(21, 83, 158));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Light, QColor(80, 80, 80));
        p.setColor(group, QPalette::Midlight, QColor(66, 66, 66));
        p.setColor(group, QPalette::Mid, QColor(40, 40, 40));
        p.setColor(group, QPalette::Dark, QColor(30, 30, 30));
        p.setColor(group, QPalette::Shadow, Qt::black);
    }
    return p;
}

QPalette lightDesktop() { return QPalette(QColor(239, 239, 239)); }

// What shows behind a label: its own colour when opaque, else that of the
// nearest container that paints its background.
QColor behind(const QWidget *w)
{
    for (; w; w = w->parentWidget())
        if (w->autoFillBackground())
            return w->palette().color(QPalette::Window);
    return QApplication::palette().color(QPalette::Window);
}

// WCAG AA: 4.5 for body text, 3 for large text (24 px, or 18.7 px bold).
double neededContrast(const QFont &font)
{
    const int px = font.pixelSize();
    return (px >= 24 || (font.bold() && px >= 19)) ? 3.0 : 4.5;
}

struct Designed
{
    const char *name;
    QColor text;
    QColor back; // invalid: transparent
};

const QColor navy(0, 0, 128), blue(0, 0, 255), darkRed(192, 0, 0), black(0, 0, 0), white(255, 255, 255);

const Designed kDesigned[] = {
    {"Label17", darkRed, {}},           {"Label16(0)", darkRed, {}},       {"Label16(1)", darkRed, {}},
    {"Label7", black, {}},              {"Label13", black, {}},            {"Label6", black, {}},
    {"Label4", black, {}},              {"Label5", white, QColor(255, 0, 0)}, {"Label3", white, navy},
    {"Label12", blue, {}},              {"Label19", blue, {}},             {"Label15", QColor(0, 0, 192), {}},
    {"Label8(0)", blue, {}},            {"Label8(2)", blue, {}},           {"Label9(0)", white, QColor(0, 128, 0)},
    {"Label9(1)", white, QColor(0, 128, 0)}, {"Label9(2)", white, QColor(0, 128, 0)},
    {"Label11(0)", navy, {}},           {"Label11(1)", QColor(128, 0, 0), {}}, {"Label11(6)", QColor(128, 0, 0), {}},
};

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void designedColoursStay_data();
    void designedColoursStay();
    void everyTextReads_data();
    void everyTextReads();
    void desktopPartsFollowThePalette_data();
    void desktopPartsFollowThePalette();

private:
    void start(const QPalette &desktop);
    void addPalettes();

    QPalette m_original;
    std::unique_ptr<testing::GameDriver> m_game;
};

void TestTheme::init() { m_original = QApplication::palette(); }

void TestTheme::cleanup()
{
    m_game.reset();
    QApplication::setPalette(m_original);
}

void TestTheme::addPalettes()
{
    QTest::addColumn<QPalette>("desktop");
    // The platform's own palette, as a program gets it without asking: none
    // of its roles counts as set, so a container's colours would show through
    // wherever the window does not set its own.
    QTest::newRow("platform") << QPalette();
    QTest::newRow("light") << lightDesktop();
    QTest::newRow("dark") << darkDesktop();
}

void TestTheme::start(const QPalette &desktop)
{
    if (desktop.resolveMask() != 0)
        QApplication::setPalette(desktop);
    m_game = std::make_unique<testing::GameDriver>();
    m_game->settleBoard();
    m_game->window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_game->window()));
}

void TestTheme::designedColoursStay_data() { addPalettes(); }

void TestTheme::designedColoursStay()
{
    QFETCH(QPalette, desktop);
    start(desktop);
    desktop = QApplication::palette();
    for (const Designed &d : kDesigned) {
        GameLabel *label = m_game->label(QString::fromLatin1(d.name));
        QCOMPARE(label->textColor(), d.text);
        QCOMPARE(label->autoFillBackground(), d.back.isValid());
        if (d.back.isValid())
            QCOMPARE(label->backColor(), d.back);
    }
    for (int i = 0; i < 10; ++i)
        for (bool first : {true, false})
            QCOMPARE(m_game->square(first, i)->backColor(), QColor(224, 224, 224));
    auto *board = m_game->window().findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(board);
    QCOMPARE(board->palette().color(QPalette::Text), QColor(255, 255, 0));
    QCOMPARE(board->palette().color(QPalette::Base), QColor(0, 0, 64));
    QWidget *client = m_game->window().centralWidget();
    QCOMPARE(client->palette().color(QPalette::Window), navy);

    // A hit square's colours are the game's too.
    GameLabel *hit = m_game->hitValue(7);
    QCOMPARE(hit->textColor(), QColor(255, 0, 0));
    QCOMPARE(hit->backColor(), QColor(255, 224, 192));
}

void TestTheme::everyTextReads_data() { addPalettes(); }

void TestTheme::everyTextReads()
{
    QFETCH(QPalette, desktop);
    start(desktop);
    desktop = QApplication::palette();
    QWidget *panel = m_game->window().findChild<QWidget *>(QStringLiteral("Frame1(0)"));
    QVERIFY(panel);
    // The panel's face is light whatever the desktop: the designed text
    // colours on it are dark ones.
    QVERIFY(!ui::isDarkPalette(panel->palette()));
    if (!ui::isDarkPalette(desktop))
        QCOMPARE(panel->palette().color(QPalette::Window), desktop.color(QPalette::Button));

    m_game->hitValue(5); // a square in its hit colours, the rest at rest
    auto check = [](const QString &what, const QColor &text, const QColor &back, double needed) {
        const double ratio = contrastRatio(text, back);
        QVERIFY2(ratio >= needed, qPrintable(QStringLiteral("%1: %2 on %3 has contrast %4")
                                                 .arg(what, text.name(), back.name())
                                                 .arg(ratio, 0, 'f', 2)));
    };
    int checked = 0;
    for (GameLabel *label : m_game->window().findChildren<GameLabel *>()) {
        if (!label->isVisibleTo(&m_game->window()) || label->text().isEmpty())
            continue;
        check(label->objectName(), label->textColor(), behind(label), neededContrast(label->font()));
        ++checked;
    }
    QVERIFY(checked >= 40);
    for (auto *frame : m_game->window().findChildren<QGroupBox *>()) {
        if (!frame->title().isEmpty())
            check(frame->objectName(), frame->palette().color(QPalette::WindowText), behind(frame), 4.5);
    }
    auto *reset = m_game->window().findChild<QAbstractButton *>(QStringLiteral("Resetz"));
    QVERIFY(reset);
    check(QStringLiteral("Resetz"), reset->palette().color(QPalette::ButtonText),
          reset->palette().color(QPalette::Button), 4.5);

    // The score board, shown, on its own colours.
    m_game->window().ScoreBoard_Click();
    auto *board = m_game->window().findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(board && board->isVisibleTo(&m_game->window()));
    check(QStringLiteral("Text1"), board->palette().color(QPalette::Text), board->palette().color(QPalette::Base),
          4.5);
}

void TestTheme::desktopPartsFollowThePalette_data() { addPalettes(); }

void TestTheme::desktopPartsFollowThePalette()
{
    QFETCH(QPalette, desktop);
    start(desktop);
    desktop = QApplication::palette();
    QMenuBar *bar = m_game->window().menuBar();
    for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
        QCOMPARE(bar->palette().color(role), desktop.color(role));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Tavrolin"), QStringLiteral("Help"), QMessageBox::Ok,
                    &m_game->window());
    for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
        QCOMPARE(box.palette().color(role), desktop.color(role));
    QVERIFY(contrastRatio(box.palette().color(QPalette::WindowText), box.palette().color(QPalette::Window)) >= 4.5);
}

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
