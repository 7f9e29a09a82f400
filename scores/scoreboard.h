// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "scores/record.h"

#include <QByteArray>
#include <QString>

namespace scores {

// Two tabs, "SCORE BOARD", CR LF: what the board shows before any game.
QString boardHeader();

// The header, then a line break and each line of the log without its own
// line end. Bytes that are not UTF-8 show as replacement characters.
// The lines of a paragraph are broken by line separators (U+2028); a
// paragraph holds whole games, ending after a game's empty line once it has
// 24 lines or more, and has at most 64 lines even in a log without empty
// lines: a text box takes a few long paragraphs far faster than many short
// ones, and its plain text reads the same. A line with right-to-left letters
// or direction marks is shown as shownLine gives it, and ends its
// paragraph.
QString boardText(const QByteArray &log);

// The board for the log at this path; the header alone when it cannot be
// read or is not a regular file. At most MaxBoardLogBytes of the log are
// read: the lines up to there are shown.
QString readBoardText(const QString &path);

// The largest part of a log the board shows: 32 MiB, about 150,000 games.
// Measured with the real window, showing the board takes about 4.1 bytes of
// memory per byte of log at its peak (the bytes read, the text converted
// to UTF-16, the text box's own copy) and keeps about 2.2 while shown, so
// this holds a shown board to about 130 MiB at its peak and 70 MiB after,
// whatever the file's size.
constexpr qint64 MaxBoardLogBytes = qint64(32) * 1024 * 1024;

// Captions of the menu item that shows and hides the board.
QString showBoardCaption();
QString hideBoardCaption();

// The question asked before everything is cleared.
QString clearQuestion();

// Deletes the log file; NotFound when there was none.
Removal removeLog(const QString &path, QString *reason);

// What the players are told after clearing.
struct ClearReport
{
    QString text;
    bool warning = false;
};

struct ClearStep
{
    Removal removal;
    QString path;   // the file concerned
    QString reason; // why a failed removal failed
};

ClearReport clearReport(const ClearStep &log, const ClearStep &record);

} // namespace scores
