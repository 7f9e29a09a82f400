// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The window's controls and menu as designed: positions in twips (15 to a
// pixel), colours, fonts and stacking. Controls are created back to front,
// so that each lies beneath the ones created after it.

#include "ui/numgame.h"

#include "game/field.h"
#include "game/spoken.h"
#include "publisher/catalogue.h"
#include "publisher/publisher.h"
#include "publisher/webbrowser.h"
#include "ui/announcer.h"
#include "ui/appicon.h"
#include "ui/boardtext.h"
#include "ui/fonts.h"
#include "ui/gamelabel.h"
#include "ui/hidpi.h"
#include "ui/intervaltimer.h"
#include "ui/surface.h"
#include "ui/twips.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ui {

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

// "Standard" colours are those of the game's surface (ui/surface.h), which
// the main panel carries and everything on it inherits.
QColor standardText(const QWidget *onSurface) { return onSurface->palette().color(QPalette::ButtonText); }
QColor standardFace(const QWidget *onSurface) { return onSurface->palette().color(QPalette::Button); }

const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kDarkRed(192, 0, 0);

struct LabelDesign
{
    const char *name;
    int left, top, width, height; // twips
    QString text;
    DesignFont font;
    QColor textColor;             // invalid: standard
    QColor backColor;             // invalid: transparent
    bool centred = false;
    bool autoSize = false;
    bool visible = true;
};

GameLabel *makeLabel(QWidget *parent, const LabelDesign &s)
{
    auto *label = new GameLabel(parent);
    label->setObjectName(QString::fromLatin1(s.name));
    label->setGeometry(twipsRect(s.left, s.top, s.width, s.height));
    label->setFont(makeFont(s.font));
    label->setTextColor(s.textColor.isValid() ? s.textColor : standardText(parent));
    if (s.backColor.isValid()) {
        label->setBackColor(s.backColor);
        label->setOpaque(true);
    }
    label->setAlignment(s.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
    label->setText(s.text);
    label->setAutoSize(s.autoSize);
    label->setVisible(s.visible);
    return label;
}

GameLabel *makePicture(QWidget *parent, const char *name, int left, int top, const QString &resource,
                       QSize naturalSize)
{
    auto *picture = new GameLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    const QPixmap pixmap = loadPicture(resource, pictureScale());
    picture->setPixmap(pixmap);
    // Pictures show at their natural size, in device-independent pixels.
    const QSize shown = pixmap.isNull() ? naturalSize : pixmap.deviceIndependentSize().toSize();
    picture->setGeometry(QRect(QPoint(twipsToPixels(left), twipsToPixels(top)), shown));
    return picture;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QRect &rect, const QString &caption,
                     const QFont &font)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(rect);
    frame->setFont(font);
    frame->setFlat(false);
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, standardFace(parent));
    frame->setPalette(p);
    return frame;
}

// A square of the board: an opaque, bordered, centred "-0" in Arial 48 bold.
GameLabel *makeSquare(QWidget *parent, const QString &name, int left, int top)
{
    auto *square = new GameLabel(parent);
    square->setObjectName(name);
    square->setGeometry(twipsRect(left, top, 1245, 1320));
    square->setFont(makeFont({QStringLiteral("Arial"), 48, true}));
    square->setAlignment(Qt::AlignCenter);
    square->setBorder(true);
    square->setOpaque(true);
    square->setText(QStringLiteral("-0"));
    square->setPressable(true);
    square->setReadAsButton(true);
    return square;
}

// Cells of the 4 x 5 field: the first series on the cells whose row and
// column add up to an even number, the second on the others, each in
// reading order.
constexpr int kColumnLeft[5] = {150, 1455, 2760, 4065, 5370};
constexpr int kRowTop[4] = {330, 1870, 3410, 4950};

} // namespace

void NumGame::buildControls()
{
    setWindowTitle(QStringLiteral("Tavrolin"));
    setWindowIcon(appIcon());
    setFont(windowFont());

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("NumGame"));
    m_client->setAutoFillBackground(true);
    {
        QPalette p = m_client->palette();
        p.setColor(QPalette::Window, kNavy);
        m_client->setPalette(p);
    }
    setCentralWidget(m_client);

    auto *panel = new QFrame(m_client);
    Frame1[0] = panel;
    panel->setObjectName(QStringLiteral("Frame1(0)"));
    panel->setFrameShape(QFrame::NoFrame);
    panel->setGeometry(twipsRect(120, 75, MainPanelWidthTwips, MainPanelHeightTwips));
    panel->setAutoFillBackground(true);
    panel->setPalette(surfacePalette());

    const DesignFont sansBold8{QStringLiteral("MS Sans Serif"), 8.25, true};
    const DesignFont window8{QStringLiteral("MS Sans Serif"), 8.25};

    // Labels and pictures of the main panel, back to front.
    Label17 = makeLabel(panel, {"Label17", 2535, 210, 6555, 330, QString(),
                                {QStringLiteral("Times New Roman"), 15.75, true}, kDarkRed, {}, true});
    Label16[1] = makeLabel(panel, {"Label16(1)", 10155, 975, 570, 825, QStringLiteral("II"),
                                   {QStringLiteral("Times New Roman"), 36, true}, kDarkRed, {}, false, true});
    Label16[0] = makeLabel(panel, {"Label16(0)", 975, 990, 285, 825, QStringLiteral("I"),
                                   {QStringLiteral("Times New Roman"), 36, true}, kDarkRed, {}, false, true});
    Image2 = makePicture(panel, "Image2", 9225, 150, QStringLiteral(":/pictures/logo.gif"), QSize(165, 52));
    // The address is longer than the label was drawn for, and the board
    // panel stands right of it: it is set a touch tighter so it shows whole.
    Label15 = makeLabel(panel, {"Label15", 165, 7275, 2160, 210,
                                QStringLiteral("Email: ") + publisher::contactEmail(),
                                {QStringLiteral("Arial"), 8.25, false, false, true, -0.5}, QColor(0, 0, 192), {},
                                false, true});
    Label15->setToolTip(QStringLiteral("Contact us at this Email address"));
    Image3[1] = makePicture(panel, "Image3(1)", 900, 3165, QStringLiteral(":/pictures/symbol_red.gif"),
                            QSize(36, 50));
    const QString visitTip = QStringLiteral("Visit this website for more downloads");
    Label19 = makeLabel(panel, {"Label19", 9930, 7035, 1110, 210, QStringLiteral("Free Download"),
                                {QStringLiteral("Arial"), 8.25, false, false, true}, kBlue, {}, false, true});
    Label19->setToolTip(visitTip);
    Label12 = makeLabel(panel, {"Label12", 9630, 7215, 1830, 195,
                                QStringLiteral("Visit: ") + publisher::webHost(),
                                {QStringLiteral("MS Sans Serif"), 8.25, false, false, true}, kBlue, {}, false,
                                true});
    Label12->setToolTip(visitTip);
    Label3 = makeLabel(panel, {"Label3", 9315, 1665, 2325, 1035, QStringLiteral("Score"),
                               {QStringLiteral("Arial"), 39.75, true}, Qt::white, kNavy, true});
    Label4 = makeLabel(panel, {"Label4", 10125, 2745, 660, 210, QStringLiteral("Attempts"),
                               {QStringLiteral("Arial"), 8.25}, Qt::black, {}, true, true});
    Label6 = makeLabel(panel, {"Label6", 870, 2775, 660, 210, QStringLiteral("Attempts"),
                               {QStringLiteral("Arial"), 8.25}, Qt::black, {}, true, true});
    Label5 = makeLabel(panel, {"Label5", 75, 1680, 2295, 1035, QStringLiteral("Score"),
                               {QStringLiteral("Arial"), 39.75, true}, Qt::white, QColor(255, 0, 0), true});
    Image3[0] = makePicture(panel, "Image3(0)", 10185, 3150, QStringLiteral(":/pictures/symbol_navy.gif"),
                            QSize(36, 50));
    Label7 = makeLabel(panel, {"Label7", 360, 1305, 1545, 195, QStringLiteral("PLAYER-I SCORE"),
                               {QStringLiteral("MS Sans Serif"), 8.25, true, false, true}, Qt::black, {}, true,
                               true});
    Label13 = makeLabel(panel, {"Label13", 9615, 1275, 1605, 195, QStringLiteral("PLAYER-II SCORE"),
                                {QStringLiteral("MS Sans Serif"), 8.25, true, false, true}, Qt::black, {}, true,
                                true});
    Image4[0] = makePicture(panel, "Image4(0)", 150, 180, QStringLiteral(":/pictures/title.gif"), QSize(142, 46));

    // Windowed controls of the main panel, back to front.
    WebBrowser1 = new publisher::WebBrowser(*m_services.urlOpener, panel);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(twipsRect(3345, 1275, 225, 285));

    Frame3 = makeFrame(panel, "Frame3", twipsRect(9375, 4110, 2220, 2805), QStringLiteral("Free Trial Softwares"),
                       makeFont(sansBold8));
    Frame2 = makeFrame(panel, "Frame2", twipsRect(105, 4110, 2190, 3075), QStringLiteral("Our Free Softwares"),
                       makeFont(sansBold8));
    Frame1[1] = makeFrame(panel, "Frame1(1)", twipsRect(2430, 585, 6795, 6900), QString(), windowFont());

    Resetz = new QPushButton(QStringLiteral("Reset"), panel);
    Resetz->setObjectName(QStringLiteral("Resetz"));
    Resetz->setGeometry(twipsRect(7920, 7005, 1035, 345));
    Resetz->setFont(windowFont());

    Frame4 = makeFrame(panel, "Frame4", twipsRect(2400, 240, 6855, 7335), QStringLiteral("Score Board"),
                       windowFont());
    Text1 = new BoardText(Frame4);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(120, 240, 6615, 6975));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(makeFont({QStringLiteral("MS Sans Serif"), 9.75, true}));
    {
        QPalette p = Text1->palette();
        p.setColor(QPalette::Text, QColor(255, 255, 0));
        p.setColor(QPalette::Base, QColor(0, 0, 64));
        Text1->setPalette(p);
    }
    Frame4->setVisible(false);

    // The board panel: squares, turn line and winner banner, back to front.
    QWidget *board = Frame1[1];
    int firstCount = 0, secondCount = 0;
    std::array<QPoint, 10> firstAt, secondAt;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
            const QPoint at(kColumnLeft[col], kRowTop[row]);
            if ((row + col) % 2 == 0)
                firstAt[static_cast<size_t>(firstCount++)] = at;
            else
                secondAt[static_cast<size_t>(secondCount++)] = at;
        }
    }
    secondAt[2] = QPoint(120, 1875); // placed by hand in the designer, off the grid
    for (int i = 9; i >= 0; --i) {
        const QPoint at = secondAt[static_cast<size_t>(i)];
        Label2[static_cast<size_t>(i)] = makeSquare(board, QStringLiteral("Label2(%1)").arg(i), at.x(), at.y());
    }
    for (int i = 0; i < 10; ++i) {
        const QPoint at = firstAt[static_cast<size_t>(i)];
        Label1[static_cast<size_t>(i)] = makeSquare(board, QStringLiteral("Label1(%1)").arg(i), at.x(), at.y());
    }
    // Screen readers name the squares by their place in the field, in
    // reading order, whichever series they belong to, and describe them by
    // what they show.
    for (int row = 0; row < game::FieldRows; ++row) {
        for (int col = 0; col < game::FieldColumns; ++col) {
            const game::Cell cell{row, col};
            boardSquare(game::squareAt(cell))
                ->setAccessibleCaption(QStringLiteral("Square %1, row %2, column %3")
                                           .arg(game::placeNumber(cell))
                                           .arg(row + 1)
                                           .arg(col + 1),
                                       game::squareShows());
        }
    }
    Label8[0] = makeLabel(board, {"Label8(0)", 435, 6450, 2730, 255, QStringLiteral("Next turn is for Player No."),
                                  {QStringLiteral("Arial"), 11.25, true, true}, kBlue, {}, true, true});
    Label8[2] = makeLabel(board, {"Label8(2)", 3225, 6405, 180, 360, QStringLiteral("1"),
                                  {QStringLiteral("Arial"), 15.75, true}, kBlue, {}, true, true});
    const DesignFont banner{QStringLiteral("Arial"), 18, true, true};
    const QColor bannerGreen(0, 128, 0);
    Label9[1] = makeLabel(board, {"Label9(1)", 2025, 6390, 510, 420, QString(), banner, Qt::white, bannerGreen,
                                  true, false, false});
    Label10 = makeLabel(board, {"Label10", 2925, 120, 570, 195, QString(), window8, {}, {}, true, true});
    Label9[2] = makeLabel(board, {"Label9(2)", 2505, 6390, 1020, 420, QStringLiteral("WON"), banner, Qt::white,
                                  bannerGreen, true, false, false});
    Label9[0] = makeLabel(board, {"Label9(0)", 450, 6390, 1590, 420, QStringLiteral("PLAYER"), banner, Qt::white,
                                  bannerGreen, true, false, false});

    // What screen readers call the labels whose text is only a number.
    Label5->setAccessibleCaption(QStringLiteral("Player 1 score"));
    Label6->setAccessibleCaption(QStringLiteral("Player 1 attempts"));
    Label3->setAccessibleCaption(QStringLiteral("Player 2 score"));
    Label4->setAccessibleCaption(QStringLiteral("Player 2 attempts"));
    Label8[2]->setAccessibleCaption(QStringLiteral("Next turn is for player"));
    Label10->setAccessibleCaption(QStringLiteral("Score difference"));
    Image4[0]->setAccessibleName(QStringLiteral("Tavrolin"));
    Image2->setAccessibleName(QStringLiteral("Publisher's logo"));
    for (GameLabel *symbol : Image3)
        symbol->setAccessibleName(QStringLiteral("Publisher's symbol"));

    // The catalogue lists.
    for (int i = 0; i <= 5; ++i) {
        Label11[static_cast<size_t>(i)] =
            makeLabel(Frame3, {"", 195, 390 + 393 * i, 0, 195, publisher::catalogueCaption(i), sansBold8,
                               i % 2 == 0 ? kNavy : kMaroon, {}, false, true});
    }
    Label11[6] = makeLabel(Frame2, {"", 135, 315, 1845, 420, publisher::catalogueCaption(6), window8, kMaroon, {}});
    Label11[6]->setWordWrap(true);
    for (int i = 7; i <= 13; ++i) {
        Label11[static_cast<size_t>(i)] =
            makeLabel(Frame2, {"", 135, 840 + 300 * (i - 7), 0, 195, publisher::catalogueCaption(i), window8,
                               i % 2 == 0 ? kMaroon : QColor(), {}, false, true});
    }
    for (int i = 0; i < 14; ++i) {
        Label11[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Label11(%1)").arg(i));
        Label11[static_cast<size_t>(i)]->setPressable(true);
    }

    // Besides the squares and the catalogue, only the links and the
    // symbols do something when clicked; screen readers can press these.
    for (GameLabel *clickable : {Label12, Label19, Image3[0], Image3[1]})
        clickable->setPressable(true);

    setTabOrder();

    m_spoken = new Announcer(m_client); // on the client area, beside the designed main panel
    m_spoken->setObjectName(QStringLiteral("Spoken"));

    // The hand over the two links is part of their design.
    QCursor handCursor = loadPointer(QStringLiteral(":/cursors/hand.cur"), QPoint(5, 0), pictureScale());
    if (handCursor.pixmap().isNull())
        handCursor = QCursor(Qt::PointingHandCursor);
    Label12->setCursor(handCursor);
    Label19->setCursor(handCursor);

    Timer1 = new IntervalTimer(this, 0);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer3 = new IntervalTimer(this, 5000);
    Timer3->setObjectName(QStringLiteral("Timer3"));

    // Client area of 792 x 524 pixels below the menu bar.
    m_client->setMinimumSize(0, 0);
    resize(twipsToPixels(FormWidthTwips), twipsToPixels(FormHeightTwips) + menuBar()->sizeHint().height());
}

// The Tab key's round: the squares in reading order, the Reset button, the
// score board's text (while it is shown), the catalogue (the left list, then
// the right), the publisher's symbols (left, right) and the two links.
// Everything else takes no focus.
void NumGame::setTabOrder()
{
    QList<QWidget *> round;
    for (int place = 0; place < game::FieldRows * game::FieldColumns; ++place)
        round << boardSquare(game::squareAt({place / game::FieldColumns, place % game::FieldColumns}));
    round << Resetz << Text1;
    for (int i : {6, 7, 8, 9, 10, 11, 12, 13, 0, 1, 2, 3, 4, 5})
        round << Label11[static_cast<size_t>(i)];
    round << Image3[1] << Image3[0] << Label19 << Label12;
    for (qsizetype i = 1; i < round.size(); ++i)
        QWidget::setTabOrder(round[i - 1], round[i]);
    // The window opens with the focus on the first square (unmarked until a
    // key moves it), where the round starts.
    round.first()->setFocus(Qt::OtherFocusReason);
    // The score board's text passes Tab on: it is only read.
    Text1->setTabChangesFocus(true);
}

void NumGame::buildMenu()
{
    QMenuBar *bar = menuBar();
    auto named = [](QAction *action, const char *name) {
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Exitz = named(bar->addAction(QStringLiteral("E&xit")), "Exitz");
    // The new-game command is reached through the Reset button only.
    Reset = named(bar->addAction(QStringLiteral("&Reset")), "Reset");
    Reset->setVisible(false);
    Reset->setEnabled(false);
    Playerz = bar->addMenu(QStringLiteral("Set &Players"));
    Playerz->setObjectName(QStringLiteral("Playerz"));
    Playerz->menuAction()->setObjectName(QStringLiteral("Playerz"));
    Player1 = named(Playerz->addAction(QStringLiteral("PLAYER 1 - Change")), "Player1");
    sep = named(Playerz->addSeparator(), "sep");
    Player2 = named(Playerz->addAction(QStringLiteral("PLAYER 2 - Change")), "Player2");
    ClearScores = named(bar->addAction(QStringLiteral("&Clear AllScores")), "ClearScores");
    ScoreBoard = named(bar->addAction(QStringLiteral("&Show ScoreBoard")), "ScoreBoard");
    RecordHigh = named(bar->addAction(QStringLiteral("Highest &Record")), "RecordHigh");
    AlterConsec = named(bar->addAction(QStringLiteral("Alternate-10")), "AlterConsec");
    AlterConsec->setVisible(false);
    AlterConsec->setEnabled(false);
    Helpz = named(bar->addAction(QStringLiteral("&Help")), "Helpz");
}

} // namespace ui
