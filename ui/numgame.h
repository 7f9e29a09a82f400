// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "game/field.h"
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

class Announcer;
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
    // A key on a focused square: the arrows move the focus over the field.
    // (Space and Return click the square, as GameLabel does for any label
    // that reacts to clicks.)
    void Label1_KeyDown(int index, int key);
    void Label2_KeyDown(int index, int key);

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
    void keyOnSquare(Series series, int index, int key);
    void setTabOrder();
    GameLabel *square(Series series, int index) const;
    GameLabel *boardSquare(game::SquareRef which) const;
    void PlayHitSound();
    // The window's whole size on screen: title bar, borders and menu bar
    // included, as the window manager or compositor frames it; where the
    // compositor draws a frame it does not describe, with the frame assumed.
    QSize outerSize() const;
    bool frameUnknown() const;

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
    std::array<QWidget *, 2> Frame1{}; // the main panel, and the board panel on it (squares, turn line, banner)
    QGroupBox *Frame2 = nullptr;       // "Our Free Softwares": half of the catalogue
    QGroupBox *Frame3 = nullptr;       // "Free Trial Softwares": the other half
    QGroupBox *Frame4 = nullptr;       // "Score Board", over the board panel while shown
    BoardText *Text1 = nullptr;        // the score board's text: the whole log
    QPushButton *Resetz = nullptr;     // "Reset": a new game
    publisher::WebBrowser *WebBrowser1 = nullptr; // opens the publisher's pages in the browser
    std::array<GameLabel *, 10> Label1{};  // the first ten squares
    std::array<GameLabel *, 10> Label2{};  // the other ten squares
    GameLabel *Label3 = nullptr;  // second player's running score
    GameLabel *Label4 = nullptr;  // second player's attempts
    GameLabel *Label5 = nullptr;  // first player's running score
    GameLabel *Label6 = nullptr;  // first player's attempts
    GameLabel *Label7 = nullptr;  // first player's heading ("PLAYER-I SCORE", or the name's)
    std::array<GameLabel *, 3> Label8{}; // turn line: 0 "Next turn is for Player No.", 2 the number (members 0 and 2 only)
    std::array<GameLabel *, 3> Label9{}; // winner banner: "PLAYER", the winner's mark, "WON"
    GameLabel *Label10 = nullptr; // score difference, once a game has ended
    std::array<GameLabel *, 14> Label11{}; // catalogue entries, each a link to its product
    GameLabel *Label12 = nullptr; // "Visit: " and the publisher's site, a link
    GameLabel *Label13 = nullptr; // second player's heading ("PLAYER-II SCORE", or the name's)
    GameLabel *Label15 = nullptr; // the publisher's e-mail address
    std::array<GameLabel *, 2> Label16{}; // the big "I" and "II" beside the scores
    GameLabel *Label17 = nullptr; // whose turn it is, by name, above the squares
    GameLabel *Label19 = nullptr; // "Free Download", a link
    GameLabel *Image2 = nullptr;  // the publisher's logo
    std::array<GameLabel *, 2> Image3{}; // the publisher's symbols, links (navy, red)
    std::array<GameLabel *, 1> Image4{}; // the game's title banner
    Announcer *m_spoken = nullptr;   // says each hit's result to screen readers; never seen
    IntervalTimer *Timer1 = nullptr; // the winner banner's blinks
    IntervalTimer *Timer3 = nullptr; // the background colour's cycle

    QAction *Exitz = nullptr;       // menu: Exit
    QAction *Reset = nullptr;       // menu: a new game
    QMenu *Playerz = nullptr;       // menu "Set Players"
    QAction *Player1 = nullptr;     // the first player's name
    QAction *sep = nullptr;         // the separator between them
    QAction *Player2 = nullptr;     // the second player's name
    QAction *ClearScores = nullptr; // menu: clear the stored scores
    QAction *ScoreBoard = nullptr;  // menu: show or hide the score board
    QAction *RecordHigh = nullptr;  // menu: the highest record
    QAction *AlterConsec = nullptr; // "Alternate-10", hidden and disabled as designed
    QAction *Helpz = nullptr;       // menu: Help
};

} // namespace ui
