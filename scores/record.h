// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "scores/scorelog.h"

#include <QString>
#include <array>

namespace scores {

// The five texts of the highest record, in the order of recordKeys().
using RecordValues = std::array<QString, 5>;

// "GameTime", "Player1", "Player2", "ScoreDiff", "GameResult".
const std::array<QString, 5> &recordKeys();
constexpr size_t ScoreDiffKey = 3;

// The stored difference: characters 20 to 22 of a "ScoreDiff" text read as
// a number; 0 when they hold none.
qint16 recordDifference(const QString &scoreDiffText);

// Whether a finished game replaces the stored record: it needs a winner and
// a difference strictly larger than the stored one.
bool replacesRecord(const QString &storedScoreDiff, qint16 difference, const QString &outcomeText);

// The texts a record-breaking game saves. Names stand as typed.
RecordValues recordValues(const FinishedGame &game);

// The text of the Highest Record box: the heading and the five values, or
// "NO RECORD FOUND TO DISPLAY" when "GameTime" is empty. Each value shows on
// one line of its own and reads left to right, whatever was stored (see
// shownLine).
QString recordMessage(const RecordValues &values);

// What deleting something stored came to.
enum class Removal { Removed, NotFound, Failed };

// The section "Highest Record" of the game's settings file, in the game's
// own format (settingsformat.h). Every call reads the file afresh and lets
// it go again; only a regular file is read or written.
class RecordStore
{
public:
    explicit RecordStore(QString settingsFile) : m_file(std::move(settingsFile)) {}

    const QString &file() const { return m_file; }

    // A missing key or section reads as the empty text.
    QString value(const QString &key) const;
    RecordValues values() const;

    // Saves all five keys; false with the system's reason when the file
    // cannot be written, or when it is not a regular file or cannot be read
    // as a settings file (it is then left untouched).
    bool save(const RecordValues &values, QString *reason) const;

    // Deletes the whole section; Failed, leaving the file untouched, when it
    // cannot be read as a settings file.
    Removal remove(QString *reason) const;

private:
    QString m_file;
};

// The warning shown when the highest record could not be saved.
QString recordSaveWarning(const QString &file, const QString &reason);

} // namespace scores
