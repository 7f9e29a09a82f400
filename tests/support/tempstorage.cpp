// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/tempstorage.h"

#include <QDir>
#include <QFile>

namespace testing {

TempStorage::TempStorage()
{
    exeFolder = m_dir.path() + QStringLiteral("/exe");
    dataDir = m_dir.path() + QStringLiteral("/data");
    settings = m_dir.path() + QStringLiteral("/config/tavrolin.conf");
    QDir().mkpath(exeFolder);
}

QString TempStorage::besideExecutable() const
{
    return exeFolder + QLatin1Char('/') + scores::scoreLogName();
}

QString TempStorage::inDataFolder() const
{
    return dataDir + QLatin1Char('/') + scores::scoreLogName();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace testing
