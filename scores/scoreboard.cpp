// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/scoreboard.h"

#include "scores/players.h"
#include "scores/regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace scores {

QString boardHeader()
{
    return QStringLiteral("\t\tSCORE BOARD\r\n");
}

QString boardText(const QByteArray &log)
{
    // A text box's cost grows faster than its number of paragraphs, so a
    // paragraph takes whole games up to at least MinLinesPerParagraph lines;
    // a log without empty lines is still cut every MaxLinesPerParagraph.
    constexpr int MinLinesPerParagraph = 24;
    constexpr int MaxLinesPerParagraph = 64;
    QString text = boardHeader();
    text.chop(2); // its line end comes as the first break below
    text.reserve(text.size() + log.size() + 2);
    bool previousEmpty = false;
    bool paragraphEnds = false;
    int linesInParagraph = 1;
    auto addLine = [&](QByteArrayView line) {
        const bool newParagraph = paragraphEnds
                                  || (previousEmpty && linesInParagraph >= MinLinesPerParagraph)
                                  || linesInParagraph == MaxLinesPerParagraph;
        text += newParagraph ? QChar(u'\n') : QChar(QChar::LineSeparator);
        linesInParagraph = newParagraph ? 1 : linesInParagraph + 1;
        // Line ends are single bytes that never occur inside a UTF-8
        // sequence, so each line converts on its own, straight into the
        // board: no copy of the whole log as text on the way.
        const qsizetype lineStart = text.size();
        if (!line.isEmpty())
            text += QString::fromUtf8(line);
        previousEmpty = line.isEmpty();
        // A line with right-to-left letters or direction marks is shown
        // isolated, so that it reads left to right and its marks end with
        // it; it also ends its paragraph, for a reader that takes the board
        // a paragraph at a time.
        paragraphEnds = needsIsolation(QStringView(text).sliced(lineStart));
        if (paragraphEnds) {
            const QString shown = shownLine(QStringView(text).sliced(lineStart));
            text.truncate(lineStart);
            text += shown;
        }
    };
    addLine({}); // the header's own line end
    // Every line, whether it ends in CR LF, a lone CR or a lone LF, or not
    // at all at the end of the file, is one line of the board.
    qsizetype start = 0;
    const qsizetype n = log.size();
    const char *bytes = log.constData();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        addLine(QByteArrayView(bytes + start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return text;
}

QString readBoardText(const QString &path)
{
    FileContents log = readRegularFile(path, MaxBoardLogBytes);
    if (log.result != FileRead::Read)
        return boardHeader();
    // Past the bound the reading stops, as it does at a read error, and
    // the board keeps the whole lines read so far.
    if (log.cut) {
        const qsizetype lastEnd = std::max(log.bytes.lastIndexOf('\n'), log.bytes.lastIndexOf('\r'));
        log.bytes.truncate(lastEnd + 1);
    }
    return boardText(log.bytes);
}

QString showBoardCaption()
{
    return QStringLiteral("&Show ScoreBoard");
}

QString hideBoardCaption()
{
    return QStringLiteral("&Hide ScoreBoard");
}

QString clearQuestion()
{
    return QStringLiteral("ALL previous score entries will be deleted permanently, are you sure?");
}

Removal removeLog(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Removal::NotFound;
    QFile file(path);
    if (info.isDir() || !file.remove()) {
        *reason = info.isDir() ? QStringLiteral("it is a folder") : file.errorString();
        return Removal::Failed;
    }
    return Removal::Removed;
}

ClearReport clearReport(const ClearStep &log, const ClearStep &record)
{
    QStringList failures;
    if (log.removal == Removal::Failed)
        failures << QStringLiteral("The score log \"%1\" could not be deleted: %2.").arg(log.path, log.reason);
    if (record.removal == Removal::Failed)
        failures << QStringLiteral("The highest record in \"%1\" could not be deleted: %2.")
                        .arg(record.path, record.reason);
    if (!failures.isEmpty())
        return {failures.join(QStringLiteral("\r\n")), true};
    if (log.removal == Removal::NotFound && record.removal == Removal::NotFound)
        return {QStringLiteral("No Score Records found to Clear."), true};
    return {QStringLiteral("All Records Cleared Successfully."), false};
}

} // namespace scores
