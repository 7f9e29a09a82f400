// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The score board's reading of the TVL_Scores log: any bytes, as a log that
// was edited, cut short or written by something else could hold.

#include "fuzzcheck.h"
#include "scores/scoreboard.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray log(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString board = scores::boardText(log);

    QString header = scores::boardHeader();
    header.chop(2);
    FUZZ_CHECK(board.startsWith(header));

    // Each line of the log becomes exactly one line of the board, whatever
    // its line end: count the log's lines on the decoded text.
    // (A byte order mark at the start is a line's text like any other.)
    const bool bom = log.startsWith("\xEF\xBB\xBF");
    const QString content = (bom ? QString(QChar(0xFEFF)) : QString()) + QString::fromUtf8(bom ? log.mid(3) : log);
    qsizetype lines = 0;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (content[i] == u'\n' || (content[i] == u'\r' && (i + 1 == content.size() || content[i + 1] != u'\n')))
            ++lines;
    }
    if (!content.isEmpty() && content.back() != u'\n' && content.back() != u'\r')
        ++lines; // the last line has no end of its own
    qsizetype breaks = 0;
    for (const QChar c : board) {
        if (c == u'\n' || c == QChar::LineSeparator)
            ++breaks;
    }
    qsizetype separatorsInLog = content.count(QChar(QChar::LineSeparator));
    FUZZ_CHECK(breaks == 1 + lines + separatorsInLog);
    return 0;
}
