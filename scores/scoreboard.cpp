#include "scores/scoreboard.h"

#include "scores/players.h"

#include <QFile>
#include <QFileInfo>

namespace scores {

QString boardHeader()
{
    return QStringLiteral("\t\tSCORE BOARD\r\n");
}

QString boardText(const QByteArray &log)
{
    constexpr int MaxLinesPerParagraph = 16; // even in a log without empty lines
    const QString content = QString::fromUtf8(log);
    QString text = boardHeader();
    text.chop(2); // its line end comes as the first break below
    text.reserve(text.size() + content.size() + 2);
    bool paragraphEnds = false;
    int linesInParagraph = 1;
    auto addLine = [&](QStringView line) {
        const bool newParagraph = paragraphEnds || linesInParagraph == MaxLinesPerParagraph;
        text += newParagraph ? QChar(u'\n') : QChar(QChar::LineSeparator);
        linesInParagraph = newParagraph ? 1 : linesInParagraph + 1;
        text += line;
        // Direction marks hold to the end of their paragraph: a line with
        // any ends one, so that they cannot turn the lines after it.
        paragraphEnds = line.isEmpty() || holdsDirectionMarks(line);
    };
    addLine({}); // the header's own line end
    // Every line, whether it ends in CR LF, a lone CR or a lone LF, or not
    // at all at the end of the file, is one line of the board.
    qsizetype start = 0;
    const qsizetype n = content.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && content[end] != u'\r' && content[end] != u'\n')
            ++end;
        addLine(QStringView(content).mid(start, end - start));
        if (end < n && content[end] == u'\r' && end + 1 < n && content[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return text;
}

QString readBoardText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return boardHeader();
    return boardText(file.readAll());
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
