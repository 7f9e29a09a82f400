// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The game's handlers: a new game, the hit, and the squares' feedback.

#include "ui/numgame.h"

#include "game/board.h"
#include "game/clock.h"
#include "game/field.h"
#include "game/random.h"
#include "game/spoken.h"
#include "game/textvalue.h"
#include "game/winner.h"
#include "scores/players.h"
#include "ui/announcer.h"
#include "ui/dialogs.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"
#include "ui/modgame.h"

namespace ui {

namespace {
const QColor kRestBack(224, 224, 224);
const QColor kHitText(255, 0, 0);
const QColor kHitBack(255, 224, 192);
const QColor kBannerWhite(255, 255, 255);
const QColor kBannerGreen(0, 255, 0);
} // namespace

GameLabel *NumGame::square(Series series, int index) const
{
    const auto &squares = series == Series::First ? Label1 : Label2;
    return squares[static_cast<size_t>(index)];
}

GameLabel *NumGame::boardSquare(game::SquareRef which) const
{
    return square(which.firstSeries ? Series::First : Series::Second, which.index);
}

void NumGame::Reset_Click()
{
    for (GameLabel *banner : Label9)
        banner->setVisible(false);
    Label3->setText(QStringLiteral("Score"));
    Label5->setText(QStringLiteral("Score"));
    Label6->setText(QStringLiteral("Attempts"));
    Label4->setText(QStringLiteral("Attempts"));
    Reset_Colors();
    Label8[2]->setText(QStringLiteral("1"));
    Label17->setText(game::turnPrompt(m_state.PlayerName[0]));
    Label10->setText(QString());
    Timer1->setInterval(0);
    m_state.HitHistory1.clear();
    m_state.HitHistory2.clear();
    m_state.HitCount = 0;
}

void NumGame::Resetz_Click()
{
    Reset_Click();
}

void NumGame::Label1_Click(int index)
{
    hit(Series::First, index);
}

void NumGame::Label2_Click(int index)
{
    hit(Series::Second, index);
}

void NumGame::hit(Series series, int index)
{
    if (m_state.isOver()) {
        Label8[2]->setText(QStringLiteral("X"));
        m_services.dialogs->message(game::gameOverMessage(), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok,
                                    game::gameOverTitle());
        return;
    }

    Reset_Colors();
    GameLabel *hitSquare = square(series, index);
    hitSquare->setTextColor(kHitText);
    hitSquare->setBackColor(kHitBack);

    const qint16 clock = game::clockDigit(m_services.clock->secondsSinceMidnight());
    const qint16 random = game::randomPart(m_services.random->next());
    const game::Numbering numbers = game::renumber(game::startDigit(random, clock));
    for (size_t i = 0; i < Label1.size(); ++i) {
        Label1[i]->setText(numbers.first[i]);
        Label2[i]->setText(numbers.second[i]);
    }

    ++m_state.HitCount;
    const bool firstPlayer = m_state.lastHitWasFirstPlayers();
    m_state.HitValue = game::textValue(hitSquare->text());

    modGame::SoundIndex = m_state.HitValue < 1 ? modGame::LowHitSoundIndex : modGame::HitSoundIndex;
    PlayHitSound();

    if (firstPlayer) {
        Label5->setText(game::addToText(Label5->text(), m_state.HitValue));
        m_state.HitHistory1 += game::historyGroup(m_state.HitValue);
        Label6->setText(game::addToText(Label6->text(), 1));
        Label8[2]->setText(QStringLiteral("2"));
        Label17->setText(game::turnPrompt(m_state.PlayerName[1]));
    } else {
        Label3->setText(game::addToText(Label3->text(), m_state.HitValue));
        m_state.HitHistory2 += game::historyGroup(m_state.HitValue);
        Label4->setText(game::addToText(Label4->text(), 1));
        Label8[2]->setText(QStringLiteral("1"));
        Label17->setText(game::turnPrompt(m_state.PlayerName[0]));
    }

    // What a screen reader says at once, wherever the focus is.
    const int player = firstPlayer ? 0 : 1;
    QString phrase = game::hitPhrase(m_state.PlayerName[player], m_state.HitValue,
                                     game::textValue((firstPlayer ? Label5 : Label3)->text()),
                                     game::textValue((firstPlayer ? Label6 : Label4)->text()),
                                     m_state.isOver() ? QString() : m_state.PlayerName[1 - player]);

    if (m_state.isOver()) {
        m_state.FinalScore2 = game::textValue(Label3->text());
        m_state.FinalScore1 = game::textValue(Label5->text());
        Label8[2]->setText(QStringLiteral("X"));
        WinGame();
        phrase += QLatin1Char(' ') + game::endPhrase(Label9[1]->text(), m_state.FinalScore1, m_state.FinalScore2);
        m_spoken->say(phrase); // before the log is written, which may show a message
        AppendScore();
    } else {
        m_spoken->say(phrase);
    }
}

void NumGame::Reset_Colors()
{
    // The standard text of the game's surface, which the main panel carries.
    const QColor buttonText = Frame1[0]->palette().color(QPalette::ButtonText);
    for (size_t i = 0; i < Label1.size(); ++i) {
        Label1[i]->setTextColor(buttonText);
        Label2[i]->setTextColor(buttonText);
    }
    ResetColor();
}

void NumGame::ResetColor()
{
    for (size_t i = 0; i < Label1.size(); ++i) {
        Label1[i]->setBackColor(kRestBack);
        Label2[i]->setBackColor(kRestBack);
    }
}

void NumGame::hover(Series series, int index)
{
    GameLabel *hovered = square(series, index);
    SetIcon(hovered);
    // Ten characters from the thirteenth: the name after "ITS TURN OF ",
    // each character whole (an emoji is never cut in half).
    hovered->setToolTip(scores::firstCharacters(Label17->text().mid(12), 10));
}

void NumGame::Label1_MouseMove(int index)
{
    hover(Series::First, index);
}

void NumGame::Label2_MouseMove(int index)
{
    hover(Series::Second, index);
}

void NumGame::Label1_MouseDown(int index)
{
    SetIconDn(Label1[static_cast<size_t>(index)]);
}

void NumGame::Label2_MouseDown(int index)
{
    SetIconDn(Label2[static_cast<size_t>(index)]);
}

void NumGame::Label1_KeyDown(int index, int key)
{
    keyOnSquare(Series::First, index, key);
}

void NumGame::Label2_KeyDown(int index, int key)
{
    keyOnSquare(Series::Second, index, key);
}

void NumGame::keyOnSquare(Series series, int index, int key)
{
    game::Step direction{};
    switch (key) {
    case Qt::Key_Left: direction = game::Step::Left; break;
    case Qt::Key_Right: direction = game::Step::Right; break;
    case Qt::Key_Up: direction = game::Step::Up; break;
    case Qt::Key_Down: direction = game::Step::Down; break;
    default: return;
    }
    const game::Cell to = game::step(game::cellOf({series == Series::First, index}), direction);
    // A move by the keyboard, as Tab's: the mark follows the focus.
    boardSquare(game::squareAt(to))->setFocus(Qt::TabFocusReason);
}

void NumGame::WinGame()
{
    for (GameLabel *banner : Label9)
        banner->setVisible(true);
    Timer1->setInterval(game::BlinkIntervalMs);
    Label10->setText(game::scoreDifferenceText(m_state.FinalScore1, m_state.FinalScore2));
    Label9[1]->setText(game::winnerMark(m_state.FinalScore1, m_state.FinalScore2));
    Timer1_Timer(); // the first blink comes at once
}

void NumGame::Timer1_Timer()
{
    if (game::advanceBlink(BlinkCount))
        Timer1->setInterval(0);
    modGame::SoundIndex = modGame::WinnerSoundIndex;
    PlayHitSound();
    // White and green take turns; the colour left at the end carries over.
    const QColor next = Label9[0]->textColor() == kBannerWhite ? kBannerGreen : kBannerWhite;
    for (GameLabel *banner : Label9)
        banner->setTextColor(next);
}

} // namespace ui
