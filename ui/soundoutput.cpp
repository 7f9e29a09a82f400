// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/soundoutput.h"

#include "scores/storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QStringList>

namespace ui {

namespace {

constexpr char kModuleFile[] = "libtavrolin-sound.so";

} // namespace

ModuleSoundOutput::ModuleSoundOutput(QStringList paths) : m_paths(std::move(paths)) {}

ModuleSoundOutput::~ModuleSoundOutput() = default; // the module itself stays loaded

QStringList ModuleSoundOutput::modulePaths()
{
    QStringList paths;
    if (QCoreApplication::instance()) {
        const QDir exeDir(QCoreApplication::applicationDirPath());
        paths << exeDir.filePath(QLatin1String(kModuleFile));
        // Where an installation puts it, relative to the game's own folder.
        const QString installed = scores::installedModulePath(exeDir.path());
        if (!installed.isEmpty())
            paths << installed;
    }
    return paths;
}

bool ModuleSoundOutput::load()
{
    if (m_tried)
        return isLoaded();
    m_tried = true;
    for (const QString &path : std::as_const(m_paths)) {
        if (!QFileInfo::exists(path))
            continue;
        // The plugin stays loaded for the rest of the program (the loader
        // does not unload it when it goes).
        QPluginLoader module(path);
        if (auto *plugin = qobject_cast<SoundOutputPlugin *>(module.instance())) {
            m_output = plugin->createOutput();
            if (m_output)
                return true;
        }
    }
    return false;
}

void ModuleSoundOutput::play(const QByteArray &wavImage)
{
    if (load())
        m_output->play(wavImage);
}

bool ModuleSoundOutput::isPlaying() const
{
    return m_output && m_output->isPlaying();
}

} // namespace ui
