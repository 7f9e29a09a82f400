// The handlers of the score log, the highest record, the score board and
// the player names.

#include "ui/numgame.h"

namespace ui {

void NumGame::AppendScore()
{
}

void NumGame::RecordHigh_Click()
{
}

void NumGame::ScoreBoard_Click()
{
}

void NumGame::Text1_DblClick()
{
}

void NumGame::ClearScores_Click()
{
}

void NumGame::Player1_Click()
{
}

void NumGame::Player2_Click()
{
}

} // namespace ui
