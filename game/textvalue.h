// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <QStringView>

namespace game {

// Reads a display text as a number the way the game's labels are read:
// an optional leading minus sign and the digits that follow it; reading
// stops at the first other character, and a text that does not start with
// a number reads as 0 ("-6abc" is -6, "-0" is 0, "Score" is 0).
// Values beyond the 16-bit range saturate.
qint16 textValue(QStringView text);

// Writes a number back as plain decimal text, "-" in front when negative.
QString numberText(int value);

} // namespace game
