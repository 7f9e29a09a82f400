// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The stored "ScoreDiff" text of the highest record, as a hand-edited
// settings file could hold it (UTF-8, any bytes).

#include "fuzzcheck.h"
#include "scores/record.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString stored = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const int difference = scores::recordDifference(stored);

    // Three characters hold at most "999" and at least "-99".
    FUZZ_CHECK(difference >= -99 && difference <= 999);

    // A game with a winner beats any stored record by a larger difference
    // and never by a smaller one; a draw never beats it.
    const QString winner = QStringLiteral("1");
    FUZZ_CHECK(scores::replacesRecord(stored, static_cast<qint16>(difference + 1), winner));
    FUZZ_CHECK(!scores::replacesRecord(stored, static_cast<qint16>(difference), winner));
    FUZZ_CHECK(!scores::replacesRecord(stored, 1000, QStringLiteral("X")));
    return 0;
}
