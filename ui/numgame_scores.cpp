// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The handlers of the score log, the highest record, the score board and
// the player names.

#include "ui/numgame.h"

#include "game/clock.h"
#include "scores/players.h"
#include "scores/record.h"
#include "scores/scoreboard.h"
#include "scores/scorelog.h"
#include "scores/storage.h"
#include "ui/boardtext.h"
#include "ui/dialogs.h"
#include "ui/gamelabel.h"

#include <QAction>
#include <QGroupBox>

namespace ui {

namespace {

// Asks player `index` for a name and takes it unless it clashes with the
// other player's. True when the name was taken.
bool askName(Dialogs &dialogs, std::array<QString, 2> &names, size_t index, QAction *menuItem, GameLabel *heading)
{
    const QString answer = dialogs.prompt(scores::namePrompt(static_cast<int>(index)), scores::namePromptTitle());
    const QString &other = names[1 - index];
    if (scores::namesClash(answer, other)) {
        dialogs.message(scores::nameRefusal(other), Dialogs::Icon::Critical);
        return false;
    }
    names[index] = answer;
    menuItem->setText(scores::playerMenuCaption(answer));
    heading->setText(scores::scoreHeading(answer));
    return true;
}

} // namespace

void NumGame::AppendScore()
{
    GameEndText = scores::gameEndText(m_services.clock->now());
    scores::FinishedGame finished;
    finished.gameEndText = GameEndText;
    finished.names = m_state.PlayerName;
    finished.histories = {m_state.HitHistory1, m_state.HitHistory2};
    finished.scoreTexts = {Label5->text(), Label3->text()};
    finished.differenceText = Label10->text();
    finished.outcomeText = Label9[1]->text();

    // The log step and the record step run under the log's lock, so that
    // copies of the game ending at the same moment take turns over both;
    // what went wrong is told once the lock is let go.
    QStringList warnings;
    {
        scores::LogWriter log(scores::scoreLogPath(*m_services.storage));
        QString reason;
        if (!log.append(scores::logRecord(finished), &reason))
            warnings << scores::logWriteWarning(log.path(), reason);

        const scores::RecordStore store(m_services.storage->settingsFile());
        RecordText[scores::ScoreDiffKey] = store.value(scores::recordKeys()[scores::ScoreDiffKey]);
        const auto difference = static_cast<qint16>(qAbs(m_state.FinalScore2 - m_state.FinalScore1));
        if (scores::replacesRecord(RecordText[scores::ScoreDiffKey], difference, finished.outcomeText)
            && !store.save(scores::recordValues(finished), &reason))
            warnings << scores::recordSaveWarning(store.file(), reason);
    }
    for (const QString &warning : warnings)
        m_services.dialogs->message(warning, Dialogs::Icon::Exclamation);
}

void NumGame::RecordHigh_Click()
{
    RecordText = scores::RecordStore(m_services.storage->settingsFile()).values();
    m_services.dialogs->message(scores::recordMessage(RecordText), Dialogs::Icon::Information);
}

void NumGame::ScoreBoard_Click()
{
    const QString logPath = scores::scoreLogPath(*m_services.storage);
    if (!Frame4->isHidden()) {
        Text1->setPlainText(scores::boardHeader());
        Frame4->setVisible(false);
        Frame1[1]->setVisible(true);
        ScoreBoard->setText(scores::showBoardCaption());
        return;
    }
    Frame4->setVisible(true);
    // The board panel lies wholly under the score board: hidden as well, so
    // that the keyboard and screen readers pass its squares over too.
    Frame1[1]->setVisible(false);
    ScoreBoard->setText(scores::hideBoardCaption());
    Text1->setPlainText(scores::readBoardText(logPath));
}

void NumGame::Text1_DblClick()
{
    ScoreBoard_Click();
}

void NumGame::ClearScores_Click()
{
    if (m_services.dialogs->message(scores::clearQuestion(), Dialogs::Icon::Critical, Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes)
        return;

    scores::ClearStep log{{}, scores::scoreLogPath(*m_services.storage), {}};
    log.removal = scores::removeLog(log.path, &log.reason);
    Text1->setPlainText(scores::boardHeader());
    scores::ClearStep record{{}, m_services.storage->settingsFile(), {}};
    record.removal = scores::RecordStore(record.path).remove(&record.reason);

    const scores::ClearReport report = scores::clearReport(log, record);
    m_services.dialogs->message(report.text,
                                report.warning ? Dialogs::Icon::Exclamation : Dialogs::Icon::Information);
}

void NumGame::Player1_Click()
{
    if (askName(*m_services.dialogs, m_state.PlayerName, 0, Player1, Label7))
        Reset_Click();
}

void NumGame::Player2_Click()
{
    if (askName(*m_services.dialogs, m_state.PlayerName, 1, Player2, Label13))
        Reset_Click();
}

} // namespace ui
