// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "game/gamestate.h"
#include "ui/services.h"

#include <QCursor>
#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QFrame;
class QGroupBox;
class QMenu;
class QPushButton;

namespace publisher {
class WebBrowser;
}

namespace ui {

class BoardText;
class GameLabel;
class IntervalTimer;

// The game's one window. Its handlers carry the names of the controls and
// events they serve and stay thin; the rules live in game/, scores/ and
// publisher/.
class NumGame : public QMainWindow
{
    Q_OBJECT
public:
    explicit NumGame(const Services &services = {}, QWidget *parent = nullptr);
    ~NumGame() override;

    const game::GameState &state() const { return m_state; }
    qint16 blinkCount() const { return BlinkCount; }

    // Start-up, resizing, the colour cycle and exit.
    void Form_Load();
    void Form_Resize();
    void Timer3_Timer();
    void Exitz_Click();

    // A new game and the hit.
    void Reset_Click();
    void Resetz_Click();
    void Label1_Click(int index);
    void Label2_Click(int index);

    // Square colours and pointers.
    void Reset_Colors();
    void ResetColor();
    void Label1_MouseMove(int index);
    void Label2_MouseMove(int index);
    void Label1_MouseDown(int index);
    void Label2_MouseDown(int index);

    // End of the game.
    void WinGame();
    void Timer1_Timer();

    // Scores, record, board and names.
    void AppendScore();
    void RecordHigh_Click();
    void ScoreBoard_Click();
    void Text1_DblClick();
    void ClearScores_Click();
    void Player1_Click();
    void Player2_Click();

    // Help and the publisher panel.
    void Helpz_Click();
    void Label11_Click(int index);
    void Label11_MouseMove(int index);
    void Label12_Click();
    void Label19_Click();
    void Image3_Click(int index);

    // Pointer images and sound.
    void Icon_Initialize();
    void SetIcon(GameLabel *Labez);
    void SetIconProd(GameLabel *Labez);
    void SetIconDn(GameLabel *Labez);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Series { First, Second };

    void buildControls();
    void buildMenu();
    void connectHandlers();
    void hit(Series series, int index);
    void hover(Series series, int index);
    GameLabel *square(Series series, int index) const;
    void PlayHitSound();
    // The window's whole size on screen: title bar, borders and menu bar
    // included, as the window manager or compositor frames it.
    QSize outerSize() const;

    game::GameState m_state;
    qint16 ColorCycleCount = 0; // background colour ticks so far
    qint16 BlinkCount = 0;      // winner-banner blinks; carries over from game to game
    QSize m_centredFor;         // the outer size the main panel was last centred for
    QString GameEndText;                // first line of the last game's log record
    std::array<QString, 5> RecordText;  // working copy of the highest record

    // Seams, and the real implementations the window owns when none was given.
    Services m_services;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<game::Clock> m_ownClock;
    std::unique_ptr<game::RandomSource> m_ownRandom;
    std::unique_ptr<publisher::UrlOpener> m_ownUrlOpener;
    std::unique_ptr<SoundOutput> m_ownSound;
    std::unique_ptr<scores::Storage> m_ownStorage;

    // Pointer images, loaded once.
    QCursor IconUp;
    QCursor IconProd;
    QCursor IconDn;

    // Controls, named as the window's designer named them.
    QWidget *m_client = nullptr;
    std::array<QWidget *, 2> Frame1{}; // the main panel and the board panel
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QGroupBox *Frame4 = nullptr;
    BoardText *Text1 = nullptr;
    QPushButton *Resetz = nullptr;
    publisher::WebBrowser *WebBrowser1 = nullptr;
    std::array<GameLabel *, 10> Label1{};
    std::array<GameLabel *, 10> Label2{};
    GameLabel *Label3 = nullptr;
    GameLabel *Label4 = nullptr;
    GameLabel *Label5 = nullptr;
    GameLabel *Label6 = nullptr;
    GameLabel *Label7 = nullptr;
    std::array<GameLabel *, 3> Label8{}; // members 0 and 2 only
    std::array<GameLabel *, 3> Label9{};
    GameLabel *Label10 = nullptr;
    std::array<GameLabel *, 14> Label11{};
    GameLabel *Label12 = nullptr;
    GameLabel *Label13 = nullptr;
    GameLabel *Label15 = nullptr;
    std::array<GameLabel *, 2> Label16{};
    GameLabel *Label17 = nullptr;
    GameLabel *Label19 = nullptr;
    GameLabel *Image2 = nullptr;
    std::array<GameLabel *, 2> Image3{};
    std::array<GameLabel *, 1> Image4{};
    IntervalTimer *Timer1 = nullptr;
    IntervalTimer *Timer3 = nullptr;

    QAction *Exitz = nullptr;
    QAction *Reset = nullptr;
    QMenu *Playerz = nullptr;
    QAction *Player1 = nullptr;
    QAction *sep = nullptr;
    QAction *Player2 = nullptr;
    QAction *ClearScores = nullptr;
    QAction *ScoreBoard = nullptr;
    QAction *RecordHigh = nullptr;
    QAction *AlterConsec = nullptr;
    QAction *Helpz = nullptr;
};

} // namespace ui
