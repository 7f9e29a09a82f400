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
};

// The real places: the running executable's folder, the per-user data
// folder, and "<config folder>/<executable base name>.conf".
class SystemStorage final : public Storage
{
public:
    QString executableFolder() const override;
    QString dataFolder() const override;
    QString settingsFile() const override;
};

// The score log's file name, the same in either folder.
QString scoreLogName();

// Where the score log lives: beside the executable when it can be appended
// to there or created there, otherwise in the data folder. The writer, the
// board and the clear command all ask this, so they agree.
QString chooseLogPath(const QString &executableFolder, const QString &dataFolder);
QString scoreLogPath(const Storage &storage);

} // namespace scores
