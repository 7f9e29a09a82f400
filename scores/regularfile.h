// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QString>

namespace scores {

// Stored files are read only when they are regular files: a named pipe
// would make the window wait on whoever holds its other end, and a device
// such as /dev/zero reads without end. Every path is opened without
// blocking and looked at (fstat) before anything is read from it.

enum class FileRead {
    Read,       // the whole file, or as much as the bound allowed
    Missing,    // no such file
    NotRegular, // a folder, pipe, socket or device
    Failed,     // it could not be opened or read
};

struct FileContents
{
    FileRead result = FileRead::Failed;
    QByteArray bytes;
    bool cut = false;  // the file holds more than the bound
    QString reason;    // why it was not read
};

// Reads at most maxBytes of the file at `path`.
FileContents readRegularFile(const QString &path, qint64 maxBytes);

// What is said of a path that is not a regular file.
QString notRegularReason();

// The system's text for an errno value.
QString systemReason(int error);

} // namespace scores
