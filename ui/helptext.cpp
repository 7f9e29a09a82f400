// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/helptext.h"

namespace ui {

QString helpText()
{
    return QStringLiteral(
        "\t\tHOW TO PLAY THIS GAME\r\n"
        "\r\n"
        "After opening this program, go to menu item 'Set Players' and if desired\r\n"
        "change the names of PLAYER 1 and PLAYER 2. However, this is optional\r\n"
        "and you can skip this action.\r\n"
        "\r\n"
        "In this game there are two players. Each player has 10 attempts to hit on\r\n"
        "the squares. The number which appears on hitting any square is the\r\n"
        "SCORE obtained by that player. The hitting is to be made alternatively. At\r\n"
        "the end of 10th round the game is over and the player who scores more is\r\n"
        "declared as WINNER. Cumulative score of Player 1 is shown on left side of\r\n"
        "screen in red while that of Player 2 is shown on right in deep blue. Number\r\n"
        "of attempts made are shown below the scores\r\n"
        "\r\n"
        "The menu items are self explanatory and one can see the effect by clicking\r\n"
        "them.\r\n");
}

} // namespace ui
