// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

// A storage seam inside a fresh temporary folder, so that a test never
// touches a score log or settings outside it:
//   <root>/exe      stands for the executable's folder (created)
//   <root>/data     the user's data folder (not created)
//   <root>/config/tavrolin.conf   the settings file (not created)

#include "scores/storage.h"

#include <QTemporaryDir>

namespace testing {

class TempStorage final : public scores::Storage
{
public:
    TempStorage();

    QString executableFolder() const override { return exeFolder; }
    QString dataFolder() const override { return dataDir; }
    QString settingsFile() const override { return settings; }
    bool isInstalled() const override { return installed; }

    QString root() const { return m_dir.path(); }
    QString besideExecutable() const; // the log beside the executable
    QString inDataFolder() const;     // the log in the data folder

    bool installed = false; // a copy as an installation puts it

    // Every path may be pointed elsewhere by a test.
    QString exeFolder;
    QString dataDir;
    QString settings;

private:
    QTemporaryDir m_dir;
};

// Reads a whole file as bytes; empty when it cannot be read.
QByteArray fileBytes(const QString &path);

// Writes (replacing) a file with the given bytes.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace testing
