// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace scores {

QString SystemStorage::executableFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString SystemStorage::dataFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString SystemStorage::settingsFile() const
{
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + baseName
        + QStringLiteral(".conf");
}

bool SystemStorage::isInstalled() const
{
    return QFileInfo::exists(installedModulePath(executableFolder()));
}

QString installedModulePath(const QString &executableFolder)
{
#ifdef TAVROLIN_SOUND_MODULE_INSTALLED
    return QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral(TAVROLIN_SOUND_MODULE_INSTALLED)));
#else
    Q_UNUSED(executableFolder);
    return {};
#endif
}

QString scoreLogName()
{
    return QStringLiteral("TVL_Scores");
}

namespace {

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// An existing log must take writes (a folder of that name cannot); a missing
// one needs a folder that takes a new file. access() also sees read-only
// mounts, which stop even root.
bool canHoldLog(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists())
        return !file.isDir() && writable(path);
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && writable(folder.absoluteFilePath());
}

} // namespace

QString chooseLogPath(const QString &executableFolder, const QString &dataFolder, bool installed)
{
    QString beside = executableFolder + QLatin1Char('/') + scoreLogName();
    if (!installed && canHoldLog(beside))
        return beside;
    return dataFolder + QLatin1Char('/') + scoreLogName();
}

QString scoreLogPath(const Storage &storage)
{
    return chooseLogPath(storage.executableFolder(), storage.dataFolder(), storage.isInstalled());
}

} // namespace scores
