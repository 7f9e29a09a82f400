// The handlers of the publisher panel: catalogue entries, links, symbol.

#include "ui/numgame.h"

namespace ui {

void NumGame::Label11_Click(int)
{
}

void NumGame::Label11_MouseMove(int)
{
}

void NumGame::Label12_Click()
{
}

void NumGame::Label19_Click()
{
}

void NumGame::Image3_Click(int)
{
}

} // namespace ui
