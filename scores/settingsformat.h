// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>
#include <QString>
#include <QVariant>

namespace scores {

// The game's settings file format: the INI syntax QSettings writes
// ("[Highest%20Record]", "key=value", its quoting and backslash escapes),
// for text values only. Nothing is ever decoded into another type: a value
// in QSettings' typed forms ("@Variant(...)", "@ByteArray(...)", ...) is
// just its text, so no stored text can make reading allocate without
// bound, crash or fail. What it writes, QSettings' own INI format reads
// back as the same texts.
//
// When QSettings, saving, reads the file again under its lock and finds it
// unreadable, the format refuses to write it, so it is never written over.
//
// Values read from a file are held as they stand in it (QByteArray, see
// settingsText) and written back unchanged, so that keys the game does not
// know keep their exact bytes; values the game sets are texts (QString).

// The format registered with QSettings (registered on first use).
QSettings::Format settingsFormat();

// Reads a whole settings file into the map (keys as QSettings names them,
// "Section/key"). False when the text is not a settings file: a section
// line without its "]", or a line that is neither a comment nor a
// "key=value".
bool readSettings(QByteArrayView data, QSettings::SettingsMap &map);

// The file's text for the map.
QByteArray writeSettings(const QSettings::SettingsMap &map);

// The text of a value from the map: a value as it stood in the file is
// unquoted and unescaped; a text is itself.
QString settingsText(const QVariant &value);

// Settings files larger than this are not read (and so never written
// over): the game's own file holds a few hundred bytes, and at most some
// hundreds of kilobytes with the longest names a player can type.
constexpr qint64 MaxSettingsBytes = qint64(16) * 1024 * 1024;

// Why the last save through the format failed while writing (the
// system's reason, e.g. "No space left on device"); empty when it did not.
QString lastSettingsWriteError();
void clearSettingsWriteError();

} // namespace scores
