#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

namespace scores {

// What a finished game leaves on the window, as the log and the highest
// record read it.
struct FinishedGame
{
    QString gameEndText;                // "Scores of Game ending on ..."
    std::array<QString, 2> names;       // as typed
    std::array<QString, 2> histories;   // "+(v)" groups of each player
    std::array<QString, 2> scoreTexts;  // the score captions (first, second)
    QString differenceText;             // "Score Difference = n"
    QString outcomeText;                // "1", "2" or "X" for a draw
};

// "Scores of Game ending on dd-mm-yyyy hh:mm:ss", 24-hour clock.
QString gameEndText(const QDateTime &when);

// The winner's index into the names (0 or 1), or -1 when nobody won.
int winnerIndex(const QString &outcomeText);

// "<name> : <history> = <score>" for player 0 or 1 (the name as
// isolatedName gives it).
QString playerLine(const FinishedGame &game, int player);

// The six lines of the game's log record, the last one empty.
QStringList logLines(const FinishedGame &game);

// A line as the log stores it: control characters other than the tab (line
// breaks of any kind, NUL, escapes) become spaces, so that a name can
// neither add lines to the log nor hide bytes in it.
QString logLineText(QString text);

// The record as written: UTF-8, every line (as logLineText) ended by CR LF.
QByteArray logRecord(const FinishedGame &game);

// Appends the bytes to the file with one write on a file opened for
// appending, creating the file (and, when needed, its folder). Returns false
// with the reason when any step fails. When the file's last line has no
// line end, CR LF goes first (in the same write).
bool appendRecord(const QString &path, const QByteArray &bytes, QString *reason);

// The warning shown when a game could not be logged.
QString logWriteWarning(const QString &path, const QString &reason);

} // namespace scores
