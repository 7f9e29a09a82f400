// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/numgame.h"

#include "game/clock.h"
#include "game/random.h"
#include "publisher/webbrowser.h"
#include "scores/storage.h"
#include "ui/boardtext.h"
#include "ui/dialogs.h"
#include "ui/gamelabel.h"
#include "ui/helptext.h"
#include "ui/hidpi.h"
#include "ui/intervaltimer.h"
#include "ui/modgame.h"
#include "ui/palette.h"
#include "ui/soundoutput.h"
#include "ui/windowframe.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QWindow>

namespace ui {

namespace {
constexpr int kSoundModuleDelayMs = 300;

// The pointer images, as icon resources, and the pixel each points with
// (in the image's own pixels).
struct PointerResource
{
    const char *file;
    QPoint hotSpot;
};
const PointerResource kPointerUp{":/icons/110.ico", QPoint(16, 19)};   // over a square
const PointerResource kPointerProd{":/icons/103.ico", QPoint(14, 8)};  // over a catalogue entry
const PointerResource kPointerDown{":/icons/102.ico", QPoint(16, 19)}; // a square pressed
} // namespace

NumGame::NumGame(const Services &services, QWidget *parent) : QMainWindow(parent), m_services(services)
{
    if (!m_services.dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_services.dialogs = m_ownDialogs.get();
    }
    if (!m_services.clock) {
        m_ownClock = std::make_unique<game::SystemClock>();
        m_services.clock = m_ownClock.get();
    }
    if (!m_services.random) {
        m_ownRandom = std::make_unique<game::UnseededRandom>();
        m_services.random = m_ownRandom.get();
    }
    if (!m_services.urlOpener) {
        m_ownUrlOpener = std::make_unique<publisher::DesktopUrlOpener>();
        m_services.urlOpener = m_ownUrlOpener.get();
    }
    if (!m_services.sound) {
        auto sound = std::make_unique<ModuleSoundOutput>();
        // The sound module comes in once the window is up, well before
        // anyone can click, so the first hit does not wait for it.
        auto *soundLoader = new QTimer(this);
        soundLoader->setSingleShot(true);
        connect(soundLoader, &QTimer::timeout, this, [output = sound.get()] { output->load(); });
        soundLoader->start(kSoundModuleDelayMs);
        m_services.sound = sound.get();
        m_ownSound = std::move(sound);
    }
    if (!m_services.storage) {
        m_ownStorage = std::make_unique<scores::SystemStorage>();
        m_services.storage = m_ownStorage.get();
    }
    modGame::setOutput(m_services.sound);

    buildMenu();
    buildControls();
    connectHandlers();
    Form_Load();
}

NumGame::~NumGame()
{
    if (modGame::output() == m_services.sound)
        modGame::setOutput(nullptr);
}

void NumGame::connectHandlers()
{
    for (int i = 0; i < game::SquaresPerSeries; ++i) {
        GameLabel *first = Label1[static_cast<size_t>(i)];
        GameLabel *second = Label2[static_cast<size_t>(i)];
        connect(first, &GameLabel::clicked, this, [this, i] { Label1_Click(i); });
        connect(second, &GameLabel::clicked, this, [this, i] { Label2_Click(i); });
        connect(first, &GameLabel::mouseMoved, this, [this, i] { Label1_MouseMove(i); });
        connect(second, &GameLabel::mouseMoved, this, [this, i] { Label2_MouseMove(i); });
        connect(first, &GameLabel::mouseDown, this, [this, i] { Label1_MouseDown(i); });
        connect(second, &GameLabel::mouseDown, this, [this, i] { Label2_MouseDown(i); });
        connect(first, &GameLabel::keyDown, this, [this, i](int key) { Label1_KeyDown(i, key); });
        connect(second, &GameLabel::keyDown, this, [this, i](int key) { Label2_KeyDown(i, key); });
    }
    for (int i = 0; i < static_cast<int>(Label11.size()); ++i) {
        connect(Label11[static_cast<size_t>(i)], &GameLabel::clicked, this, [this, i] { Label11_Click(i); });
        connect(Label11[static_cast<size_t>(i)], &GameLabel::mouseMoved, this, [this, i] { Label11_MouseMove(i); });
    }
    connect(Label12, &GameLabel::clicked, this, &NumGame::Label12_Click);
    connect(Label19, &GameLabel::clicked, this, &NumGame::Label19_Click);
    for (int i = 0; i < 2; ++i)
        connect(Image3[static_cast<size_t>(i)], &GameLabel::clicked, this, [this, i] { Image3_Click(i); });

    connect(Resetz, &QPushButton::clicked, this, &NumGame::Resetz_Click);
    connect(Text1, &BoardText::doubleClicked, this, &NumGame::Text1_DblClick);
    connect(Timer1, &IntervalTimer::timeout, this, &NumGame::Timer1_Timer);
    connect(Timer3, &IntervalTimer::timeout, this, &NumGame::Timer3_Timer);

    connect(Exitz, &QAction::triggered, this, &NumGame::Exitz_Click);
    connect(Reset, &QAction::triggered, this, &NumGame::Reset_Click);
    connect(Player1, &QAction::triggered, this, &NumGame::Player1_Click);
    connect(Player2, &QAction::triggered, this, &NumGame::Player2_Click);
    connect(ClearScores, &QAction::triggered, this, &NumGame::ClearScores_Click);
    connect(ScoreBoard, &QAction::triggered, this, &NumGame::ScoreBoard_Click);
    connect(RecordHigh, &QAction::triggered, this, &NumGame::RecordHigh_Click);
    connect(Helpz, &QAction::triggered, this, &NumGame::Helpz_Click);
}

void NumGame::Form_Load()
{
    m_state.PlayerName[0] = QStringLiteral("PLAYER 1");
    m_state.PlayerName[1] = QStringLiteral("PLAYER 2");
    Icon_Initialize();
    Timer1->setInterval(0);
    Reset_Click();
}

void NumGame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// The frame (title bar and borders) arrives after the first resize: drawn
// by the window manager once it has reparented the window on X11, made by
// Qt with its decoration on Wayland. Its arrival changes the outer size
// without resizing the client area, so the outer size is looked at again
// whenever the window is shown, moved, changes state or paints. (A Wayland
// compositor that draws the frame itself never tells its size; outerSize()
// then counts an assumed one.)
bool NumGame::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::WindowStateChange:
    case QEvent::UpdateRequest:
        if (outerSize() != m_centredFor)
            Form_Resize();
        break;
    default:
        break;
    }
    return handled;
}

bool NumGame::frameUnknown() const
{
    const QWindow *window = windowHandle();
    return window && frameIsUnknown(QGuiApplication::platformName(), window->frameMargins(),
                                    windowFlags().testFlag(Qt::FramelessWindowHint), isFullScreen());
}

QSize NumGame::outerSize() const
{
    // The platform window's frame is read afresh; QWidget's own copy of the
    // frame is only brought up to date by moves and resizes.
    const QWindow *window = windowHandle();
    const QSize outer = window ? window->frameGeometry().size() : frameGeometry().size();
    if (!frameUnknown())
        return outer;
    return outer.grownBy(AssumedServerFrame);
}

void NumGame::Form_Resize()
{
    if (!Frame1[0])
        return;
    const QSize outer = outerSize();
    m_centredFor = outer;
    Frame1[0]->move(mainPanelPlace(outer, m_client->size(), frameUnknown()));
}

void NumGame::Timer3_Timer()
{
    QPalette p = m_client->palette();
    p.setColor(QPalette::Window, cycleColour(ColorCycleCount % 16));
    m_client->setPalette(p);
    ColorCycleCount = nextCycleCount(ColorCycleCount);
}

void NumGame::Exitz_Click()
{
    close();
    QApplication::quit();
}

void NumGame::Icon_Initialize()
{
    const qreal scale = pictureScale();
    IconUp = loadPointer(QString::fromLatin1(kPointerUp.file), kPointerUp.hotSpot, scale);
    IconProd = loadPointer(QString::fromLatin1(kPointerProd.file), kPointerProd.hotSpot, scale);
    IconDn = loadPointer(QString::fromLatin1(kPointerDown.file), kPointerDown.hotSpot, scale);
}

void NumGame::SetIcon(GameLabel *Labez)
{
    Labez->setCursor(IconUp);
}

void NumGame::SetIconProd(GameLabel *Labez)
{
    Labez->setCursor(IconProd);
}

void NumGame::SetIconDn(GameLabel *Labez)
{
    Labez->setCursor(IconDn);
}

void NumGame::PlayHitSound()
{
    modGame::PlayWavResource(static_cast<qint16>(modGame::SoundResourceBase + modGame::SoundIndex));
}

void NumGame::Helpz_Click()
{
    m_services.dialogs->message(helpText(), Dialogs::Icon::Information);
}

} // namespace ui
