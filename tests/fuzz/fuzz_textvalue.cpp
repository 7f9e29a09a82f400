// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The text-to-number reader, fed with any UTF-16 text a label could show.

#include "fuzzcheck.h"
#include "game/textvalue.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
    const int value = game::textValue(text);

    // The sign follows the text's start: digits read as 0 or more, a minus
    // as 0 or less, anything else as exactly 0.
    if (text.isEmpty() || (!isDigit(text[0]) && text[0] != u'-'))
        FUZZ_CHECK(value == 0);
    else if (text[0] == u'-')
        FUZZ_CHECK(value <= 0);
    else
        FUZZ_CHECK(value >= 0);

    // Reading stops at the first character that is not a digit, so what
    // follows one cannot matter; and a value written out reads back the same.
    FUZZ_CHECK(game::textValue(text + QStringLiteral("x9")) == value);
    FUZZ_CHECK(game::textValue(game::numberText(value)) == value);
    return 0;
}
