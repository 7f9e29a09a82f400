// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace scores {

// Where the game keeps what outlives a run: the folder beside the
// executable, the user's data folder, and the settings file. Tests point
// all three at temporary folders.
class Storage
{
public:
    virtual ~Storage() = default;
    virtual QString executableFolder() const = 0;
    virtual QString dataFolder() const = 0;
    virtual QString settingsFile() const = 0;
    // True for a copy that lives where an installation put it; such a copy
    // never writes beside itself (a build or an unpacked folder does).
    virtual bool isInstalled() const { return false; }
};

// The real places: the running executable's folder, the per-user data
// folder, and "<config folder>/<executable base name>.conf".
class SystemStorage final : public Storage
{
public:
    QString executableFolder() const override;
    QString dataFolder() const override;
    QString settingsFile() const override;
    // Installed: its sound module stands where an installation puts it,
    // seen from the executable's folder (installedModulePath).
    bool isInstalled() const override;
};

// Where an installation puts the sound module, for an executable in
// `executableFolder` (the relative path is fixed when the game is built).
QString installedModulePath(const QString &executableFolder);

// The score log's file name, the same in either folder.
QString scoreLogName();

// Where the score log lives: for an installed copy always in the data
// folder (nothing under /usr is written, even by root); otherwise beside the
// executable when it can be appended to there or created there, else in the
// data folder. The writer, the board and the clear command all ask this, so
// they agree.
QString chooseLogPath(const QString &executableFolder, const QString &dataFolder, bool installed = false);
QString scoreLogPath(const Storage &storage);

} // namespace scores
