#pragma once

#include "scores/record.h"

#include <QByteArray>
#include <QString>

namespace scores {

// Two tabs, "SCORE BOARD", CR LF: what the board shows before any game.
QString boardHeader();

// The header, then a line break and each line of the log without its own
// line end. Bytes that are not UTF-8 show as replacement characters.
// The lines of one game stay together in one paragraph, broken by line
// separators (U+2028), and a paragraph ends after each game's empty line
// (and after a line holding direction marks, which would otherwise turn the
// lines after it):
// a text box takes a few long paragraphs far faster than one per line, and
// its plain text reads the same.
QString boardText(const QByteArray &log);

// The board for the log at this path; the header alone when it cannot be
// read.
QString readBoardText(const QString &path);

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
