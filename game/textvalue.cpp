// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "game/textvalue.h"

#include <limits>

namespace game {

qint16 textValue(QStringView text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && text[pos] == u'-') {
        negative = true;
        ++pos;
    }
    qint64 magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            break;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > 32768)
            magnitude = 32768; // saturate; nothing the game writes comes close
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    return static_cast<qint16>(value);
}

QString numberText(int value)
{
    return QString::number(value);
}

} // namespace game
