// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The window as built against its design: every control's container,
// place and size (twips / 15), visibility, text, colours, font and stacking,
// and the menu bar.

#include "support/fakes.h"
#include "ui/gamelabel.h"
#include "ui/numgame.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using ui::GameLabel;

namespace {

int px(int twips) { return qRound(twips / 15.0); }

QColor standardText() { return QApplication::palette().color(QPalette::ButtonText); }

struct Face
{
    const char *family; // the installed face expected
    double points;
    bool bold, italic, underline;
};

const Face kWindowFont{"Liberation Sans", 8.25, false, false, false};

struct LabelRow
{
    const char *name;
    const char *container;
    int left, top, width, height; // twips; width/height ignored when autoSize
    const char *text;             // nullptr: not checked here
    QColor textColor;             // invalid: standard button text
    QColor backColor;             // invalid: transparent
    Face face;
    bool centred;
    bool autoSize;
    bool visible;
};

const QColor navy(0, 0, 128), maroon(128, 0, 0), blue(0, 0, 255), darkRed(192, 0, 0), white(255, 255, 255),
    black(0, 0, 0), bannerGreen(0, 128, 0);

const LabelRow kLabels[] = {
    {"Label17", "Frame1(0)", 2535, 210, 6555, 330, "ITS TURN OF PLAYER 1", darkRed, {}, {"Liberation Serif", 15.75, true, false, false}, true, false, true},
    {"Label16(0)", "Frame1(0)", 975, 990, 285, 825, "I", darkRed, {}, {"Liberation Serif", 36, true, false, false}, false, true, true},
    {"Label16(1)", "Frame1(0)", 10155, 975, 570, 825, "II", darkRed, {}, {"Liberation Serif", 36, true, false, false}, false, true, true},
    {"Label7", "Frame1(0)", 360, 1305, 1545, 195, "PLAYER-I SCORE", black, {}, {"Liberation Sans", 8.25, true, false, true}, true, true, true},
    {"Label13", "Frame1(0)", 9615, 1275, 1605, 195, "PLAYER-II SCORE", black, {}, {"Liberation Sans", 8.25, true, false, true}, true, true, true},
    {"Label5", "Frame1(0)", 75, 1680, 2295, 1035, "Score", white, QColor(255, 0, 0), {"Liberation Sans", 39.75, true, false, false}, true, false, true},
    {"Label3", "Frame1(0)", 9315, 1665, 2325, 1035, "Score", white, navy, {"Liberation Sans", 39.75, true, false, false}, true, false, true},
    {"Label6", "Frame1(0)", 870, 2775, 660, 210, "Attempts", black, {}, {"Liberation Sans", 8.25, false, false, false}, true, true, true},
    {"Label4", "Frame1(0)", 10125, 2745, 660, 210, "Attempts", black, {}, {"Liberation Sans", 8.25, false, false, false}, true, true, true},
    {"Label12", "Frame1(0)", 9630, 7215, 1830, 195, "Visit: www.ormandi.example", blue, {}, {"Liberation Sans", 8.25, false, false, true}, false, true, true},
    {"Label19", "Frame1(0)", 9930, 7035, 1110, 210, "Free Download", blue, {}, {"Liberation Sans", 8.25, false, false, true}, false, true, true},
    {"Label15", "Frame1(0)", 165, 7275, 2160, 210, "Email: contact@ormandi.example", QColor(0, 0, 192), {}, {"Liberation Sans", 8.25, false, false, true}, false, true, true},
    {"Label10", "Frame1(1)", 2925, 120, 570, 195, "", {}, {}, kWindowFont, true, true, true},
    {"Label8(0)", "Frame1(1)", 435, 6450, 2730, 255, "Next turn is for Player No.", blue, {}, {"Liberation Sans", 11.25, true, true, false}, true, true, true},
    {"Label8(2)", "Frame1(1)", 3225, 6405, 180, 360, "1", blue, {}, {"Liberation Sans", 15.75, true, false, false}, true, true, true},
    {"Label9(0)", "Frame1(1)", 450, 6390, 1590, 420, "PLAYER", white, bannerGreen, {"Liberation Sans", 18, true, true, false}, true, false, false},
    {"Label9(1)", "Frame1(1)", 2025, 6390, 510, 420, nullptr, white, bannerGreen, {"Liberation Sans", 18, true, true, false}, true, false, false},
    {"Label9(2)", "Frame1(1)", 2505, 6390, 1020, 420, "WON", white, bannerGreen, {"Liberation Sans", 18, true, true, false}, true, false, false},
};

struct FrameRow
{
    const char *name;
    const char *container;
    int left, top, width, height;
    const char *caption; // nullptr: no caption to check
    bool visible;
};

const FrameRow kFrames[] = {
    {"Frame1(0)", "NumGame", 120, 75, 11745, 7695, nullptr, true},
    {"Frame1(1)", "Frame1(0)", 2430, 585, 6795, 6900, "", true},
    {"Frame4", "Frame1(0)", 2400, 240, 6855, 7335, "Score Board", false},
    {"Text1", "Frame4", 120, 240, 6615, 6975, nullptr, true},
    {"Resetz", "Frame1(0)", 7920, 7005, 1035, 345, nullptr, true},
    {"Frame2", "Frame1(0)", 105, 4110, 2190, 3075, "Our Free Softwares", true},
    {"Frame3", "Frame1(0)", 9375, 4110, 2220, 2805, "Free Trial Softwares", true},
    {"WebBrowser1", "Frame1(0)", 3345, 1275, 225, 285, nullptr, true},
};

struct PictureRow
{
    const char *name;
    int left, top;
    QSize size;
};

const PictureRow kPictures[] = {
    {"Image4(0)", 150, 180, {142, 46}},
    {"Image2", 9225, 150, {165, 52}},
    {"Image3(1)", 900, 3165, {36, 50}},
    {"Image3(0)", 10185, 3150, {36, 50}},
};

struct SquareRow
{
    const char *name;
    int left, top;
};

const SquareRow kSquares[] = {
    {"Label1(0)", 150, 330},   {"Label2(0)", 1455, 330},  {"Label1(1)", 2760, 330},  {"Label2(1)", 4065, 330},
    {"Label1(2)", 5370, 330},  {"Label2(2)", 120, 1875},  {"Label1(3)", 1455, 1870}, {"Label2(3)", 2760, 1870},
    {"Label1(4)", 4065, 1870}, {"Label2(4)", 5370, 1870}, {"Label1(5)", 150, 3410},  {"Label2(5)", 1455, 3410},
    {"Label1(6)", 2760, 3410}, {"Label2(6)", 4065, 3410}, {"Label1(7)", 5370, 3410}, {"Label2(7)", 150, 4950},
    {"Label1(8)", 1455, 4950}, {"Label2(8)", 2760, 4950}, {"Label1(9)", 4065, 4950}, {"Label2(9)", 5370, 4950},
};

void checkFace(const QWidget *w, const Face &face)
{
    const QFontInfo info(w->font());
    QCOMPARE(info.family(), QString::fromLatin1(face.family));
    QCOMPARE(w->font().pixelSize(), qRound(face.points * 96.0 / 72.0));
    QCOMPARE(w->font().bold(), face.bold);
    QCOMPARE(w->font().italic(), face.italic);
    QCOMPARE(w->font().underline(), face.underline);
}

QStringList visibleChoices(const QList<QAction *> &actions)
{
    QStringList out;
    for (QAction *a : actions)
        if (a->isVisible() && a->isEnabled())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void window();
    void labels();
    void squares();
    void framesAndControls();
    void pictures();
    void catalogueEntries();
    void stacking();
    void menu();
    void twipsRoundToTheNearestPixel();

private:
    testing::FakeDialogs *dialogs = nullptr;
    ui::NumGame *w = nullptr;
    QWidget *find(const char *name) const
    {
        auto *found = w->findChild<QWidget *>(QString::fromLatin1(name));
        if (!found)
            qWarning("no control named %s", name);
        return found;
    }
};

void TestLayout::init()
{
    dialogs = new testing::FakeDialogs;
    ui::Services services;
    services.dialogs = dialogs;
    w = new ui::NumGame(services);
}

void TestLayout::cleanup()
{
    delete w;
    delete dialogs;
}

void TestLayout::window()
{
    QCOMPARE(w->windowTitle(), QString("Tavrolin"));
    QVERIFY(!w->windowIcon().isNull());
    QCOMPARE(w->windowIcon().pixmap(32, 32).size(), QSize(32, 32));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QWidget *client = w->centralWidget();
    QCOMPARE(client->size(), QSize(792, 524));
    QCOMPARE(client->palette().color(QPalette::Window), QColor(0, 0, 128));
    QVERIFY(client->autoFillBackground());
    checkFace(w, kWindowFont);
    QCOMPARE(find("Frame1(0)")->size(), QSize(783, 513));
}

void TestLayout::labels()
{
    for (const LabelRow &row : kLabels) {
        auto *label = qobject_cast<GameLabel *>(find(row.name));
        QVERIFY2(label, row.name);
        QCOMPARE(label->parentWidget()->objectName(), QString::fromLatin1(row.container));
        QCOMPARE(label->pos(), QPoint(px(row.left), px(row.top)));
        if (row.autoSize) {
            QVERIFY2(label->autoSize(), row.name);
            QCOMPARE(label->size(), label->sizeHint());
        } else {
            QVERIFY2(!label->autoSize(), row.name);
            QCOMPARE(label->size(), QSize(px(row.width), px(row.height)));
        }
        if (row.text)
            QCOMPARE(label->text(), QString::fromLatin1(row.text));
        QCOMPARE(!label->isHidden(), row.visible);
        QCOMPARE(label->textColor(), row.textColor.isValid() ? row.textColor : standardText());
        QCOMPARE(label->autoFillBackground(), row.backColor.isValid());
        if (row.backColor.isValid())
            QCOMPARE(label->backColor(), row.backColor);
        checkFace(label, row.face);
        QCOMPARE(bool(label->alignment() & Qt::AlignHCenter), row.centred);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // No click gives a label the focus; only those that react to a
        // click are stops of the Tab key.
        QCOMPARE(label->focusPolicy(), label->isPressable() ? Qt::TabFocus : Qt::NoFocus);
        QCOMPARE(label->wordWrap(), false);
    }
    const QString visitTip = "Visit this website for more downloads";
    QCOMPARE(find("Label12")->toolTip(), visitTip);
    QCOMPARE(find("Label19")->toolTip(), visitTip);
    QCOMPARE(find("Label15")->toolTip(), QString("Contact us at this Email address"));
    // The two links carry the hand, the e-mail label the standard pointer.
    QCOMPARE(find("Label15")->cursor().shape(), Qt::ArrowCursor);
    for (const char *link : {"Label12", "Label19"}) {
        const QCursor hand = find(link)->cursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.hotSpot(), QPoint(5, 0));
        QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    }
    QVERIFY(!w->findChild<QWidget *>("Label8(1)"));
}

void TestLayout::squares()
{
    for (const SquareRow &row : kSquares) {
        auto *square = qobject_cast<GameLabel *>(find(row.name));
        QVERIFY2(square, row.name);
        QCOMPARE(square->parentWidget()->objectName(), QString("Frame1(1)"));
        QCOMPARE(square->geometry(), QRect(px(row.left), px(row.top), px(1245), px(1320)));
        QCOMPARE(square->text(), QString("-0"));
        QVERIFY(square->autoFillBackground());
        QCOMPARE(square->backColor(), QColor(224, 224, 224));
        QCOMPARE(square->textColor(), standardText());
        QCOMPARE(square->frameShape(), QFrame::Box);
        QCOMPARE(square->focusPolicy(), Qt::TabFocus); // from the keyboard only, never from a click
        QCOMPARE(square->alignment(), Qt::AlignCenter);
        checkFace(square, {"Liberation Sans", 48, true, false, false});
    }
    // The hand-placed square: 2 pixels left of its column, 5 twips lower than its row.
    QCOMPARE(find("Label2(2)")->pos(), QPoint(8, 125));
    QCOMPARE(find("Label1(5)")->x() - find("Label2(2)")->x(), 2);
}

void TestLayout::framesAndControls()
{
    for (const FrameRow &row : kFrames) {
        QWidget *c = find(row.name);
        QVERIFY2(c, row.name);
        QCOMPARE(c->parentWidget()->objectName(), QString::fromLatin1(row.container));
        QCOMPARE(c->geometry(), QRect(px(row.left), px(row.top), px(row.width), px(row.height)));
        QCOMPARE(!c->isHidden(), row.visible);
        if (row.caption) {
            auto *box = qobject_cast<QGroupBox *>(c);
            QVERIFY2(box, row.name);
            QCOMPARE(box->title(), QString::fromLatin1(row.caption));
        }
    }
    checkFace(find("Frame2"), {"Liberation Sans", 8.25, true, false, false});
    checkFace(find("Frame3"), {"Liberation Sans", 8.25, true, false, false});
    checkFace(find("Frame4"), kWindowFont);

    auto *text = qobject_cast<QPlainTextEdit *>(find("Text1"));
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(text->palette().color(QPalette::Text), QColor(255, 255, 0));
    QCOMPARE(text->palette().color(QPalette::Base), QColor(0, 0, 64));
    checkFace(text, {"Liberation Sans", 9.75, true, false, false});

    auto *reset = qobject_cast<QPushButton *>(find("Resetz"));
    QVERIFY(reset);
    QCOMPARE(reset->text(), QString("Reset"));
    checkFace(reset, kWindowFont);

    // The browser control is 15 x 19 pixels and lies under the board panel.
    const QWidget *browser = find("WebBrowser1");
    QCOMPARE(browser->size(), QSize(15, 19));
    QVERIFY(find("Frame1(1)")->geometry().contains(browser->geometry()));
}

void TestLayout::pictures()
{
    for (const PictureRow &row : kPictures) {
        auto *picture = qobject_cast<GameLabel *>(find(row.name));
        QVERIFY2(picture, row.name);
        QCOMPARE(picture->parentWidget()->objectName(), QString("Frame1(0)"));
        QCOMPARE(picture->geometry(), QRect(QPoint(px(row.left), px(row.top)), row.size));
        QVERIFY2(!picture->pixmap().isNull(), row.name);
        QCOMPARE(picture->pixmap().size(), row.size);
    }
    // The symbol stands on red at the left and on navy at the right.
    auto ground = [this](const char *name) {
        const QImage image = find(name)->property("pixmap").value<QPixmap>().toImage();
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y)];
        QRgb most = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > counts.value(most))
                most = it.key();
        return QColor(most);
    };
    const QColor left = ground("Image3(1)"), right = ground("Image3(0)");
    QVERIFY2(left.red() > 128 && left.blue() < 64, qPrintable(left.name()));
    QCOMPARE(right, QColor(0, 0, 128));
}

void TestLayout::catalogueEntries()
{
    for (int i = 0; i < 14; ++i) {
        auto *entry = qobject_cast<GameLabel *>(find(qPrintable(QStringLiteral("Label11(%1)").arg(i))));
        QVERIFY(entry);
        QVERIFY(!entry->text().isEmpty());
        QVERIFY(!entry->autoFillBackground());
        QCOMPARE(entry->cursor().shape(), Qt::ArrowCursor);
        if (i <= 5) {
            QCOMPARE(entry->parentWidget()->objectName(), QString("Frame3"));
            QCOMPARE(entry->pos(), QPoint(px(195), px(390 + 393 * i)));
            QCOMPARE(entry->height(), entry->sizeHint().height());
            QCOMPARE(entry->textColor(), i % 2 == 0 ? navy : maroon);
            checkFace(entry, {"Liberation Sans", 8.25, true, false, false});
        } else if (i == 6) {
            QCOMPARE(entry->parentWidget()->objectName(), QString("Frame2"));
            QCOMPARE(entry->geometry(), QRect(px(135), px(315), px(1845), px(420)));
            QVERIFY(entry->wordWrap());
            QCOMPARE(entry->textColor(), maroon);
            checkFace(entry, kWindowFont);
        } else {
            QCOMPARE(entry->parentWidget()->objectName(), QString("Frame2"));
            QCOMPARE(entry->pos(), QPoint(px(135), px(840 + 300 * (i - 7))));
            QCOMPARE(entry->textColor(), i % 2 == 0 ? maroon : standardText());
            checkFace(entry, kWindowFont);
        }
    }
    QCOMPARE(qobject_cast<GameLabel *>(find("Label11(11)"))->text(), QString("Tavrolin"));
}

void TestLayout::stacking()
{
    // Back to front within the main panel: every label and picture beneath
    // every windowed control, each group in its designed order.
    const QStringList backToFront = {
        "Label17", "Label16(1)", "Label16(0)", "Image2", "Label15", "Image3(1)", "Label19", "Label12",
        "Label3", "Label4", "Label6", "Label5", "Image3(0)", "Label7", "Label13", "Image4(0)",
        "WebBrowser1", "Frame3", "Frame2", "Frame1(1)", "Resetz", "Frame4"};
    QStringList actual;
    for (QObject *child : find("Frame1(0)")->children())
        if (child->isWidgetType())
            actual << child->objectName();
    QCOMPARE(actual, backToFront);

    QStringList board;
    for (QObject *child : find("Frame1(1)")->children())
        if (child->isWidgetType())
            board << child->objectName();
    QStringList boardExpected;
    for (int i = 9; i >= 0; --i)
        boardExpected << QStringLiteral("Label2(%1)").arg(i);
    for (int i = 0; i <= 9; ++i)
        boardExpected << QStringLiteral("Label1(%1)").arg(i);
    boardExpected << "Label8(0)" << "Label8(2)" << "Label9(1)" << "Label10" << "Label9(2)" << "Label9(0)";
    QCOMPARE(board, boardExpected);
}

void TestLayout::menu()
{
    QMenuBar *bar = w->menuBar();
    QCOMPARE(visibleChoices(bar->actions()),
             QStringList({"E&xit", "Set &Players", "&Clear AllScores", "&Show ScoreBoard", "Highest &Record",
                          "&Help"}));
    // Every item but Set Players is a command on the bar itself.
    for (QAction *a : bar->actions())
        QCOMPARE(a->menu() != nullptr, a->text() == "Set &Players");
    auto *reset = w->findChild<QAction *>("Reset");
    auto *alter = w->findChild<QAction *>("AlterConsec");
    QVERIFY(reset && alter);
    QVERIFY(!reset->isEnabled() || !reset->isVisible());
    QVERIFY(!alter->isVisible());
    QVERIFY(!alter->isEnabled());
    QCOMPARE(alter->text(), QString("Alternate-10"));

    auto *players = w->findChild<QMenu *>("Playerz");
    QVERIFY(players);
    QCOMPARE(visibleChoices(players->actions()), QStringList({"PLAYER 1 - Change", "-", "PLAYER 2 - Change"}));
    QCOMPARE(players->actions().at(1)->isSeparator(), true);
    for (QAction *a : bar->actions() + players->actions()) {
        QVERIFY(a->shortcut().isEmpty());
        QVERIFY(!a->isCheckable());
    }
}

// One rounding for the layout and for the panel's centring: to the nearest
// pixel, halves away from zero, the same on both sides of 0.
void TestLayout::twipsRoundToTheNearestPixel()
{
    QCOMPARE(ui::twipsToPixels(7), 0);
    QCOMPARE(ui::twipsToPixels(8), 1);
    QCOMPARE(ui::twipsToPixels(22), 1);
    QCOMPARE(ui::twipsToPixels(23), 2);
    QCOMPARE(ui::twipsToPixels(7.5), 1);
    QCOMPARE(ui::twipsToPixels(-7.5), -1);
    QCOMPARE(ui::twipsToPixels(-8), -1);
    QCOMPARE(ui::twipsToPixels(-7), 0);
    QCOMPARE(ui::twipsToPixels(ui::MainPanelWidthTwips), 783);
    QCOMPARE(ui::twipsToPixels(ui::MainPanelHeightTwips), 513);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
