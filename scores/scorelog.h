// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

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

// "<name> : <history> = <score>" for player 0 or 1, the name as typed.
QString playerLine(const FinishedGame &game, int player);

// The six lines of the game's log record, the last one empty.
QStringList logLines(const FinishedGame &game);

// A line as the log stores it: control characters other than the tab (line
// breaks of any kind, NUL, escapes) become spaces, so that a name can
// neither add lines to the log nor hide bytes in it.
QString logLineText(QString text);

// The record as written: UTF-8, every line (as logLineText) ended by CR LF.
QByteArray logRecord(const FinishedGame &game);

// The score log held open and locked for the end of one game. Copies of
// the game take turns here (an advisory lock on the log): the record is
// appended, and the highest record compared and saved, before the lock is
// let go, so that two copies ending at the same moment cannot undo each
// other's record. The wait for the lock is bounded; after it the game goes
// on without the lock (one append in one write stays whole).
// Only a regular file is written: a pipe, a device or a folder of that name
// is refused without waiting on it.
class LogWriter
{
public:
    static constexpr int DefaultLockWaitMs = 2000;

    explicit LogWriter(QString path, int lockWaitMs = DefaultLockWaitMs);
    ~LogWriter();
    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    const QString &path() const { return m_path; }
    bool locked() const { return m_locked; }

    // Appends the bytes with one write on the file opened for appending,
    // and has them on the disk (fdatasync) before it returns. When the
    // file's last line has no line end, CR LF goes first (in the same
    // write). A write that fails or falls short is taken back, so the log
    // holds whole records only. False with the system's reason when any
    // step fails.
    bool append(const QByteArray &bytes, QString *reason);

private:
    QString m_path;
    QString m_openFailure;
    int m_fd = -1;
    bool m_locked = false;
};

// Appends one record through a LogWriter of its own (creating the file
// and, when needed, its folder).
bool appendRecord(const QString &path, const QByteArray &bytes, QString *reason);

// The warning shown when a game could not be logged.
QString logWriteWarning(const QString &path, const QString &reason);

} // namespace scores
