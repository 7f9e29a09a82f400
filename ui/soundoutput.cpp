#include "ui/soundoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace ui {

namespace {

constexpr char kModuleFile[] = "libtavrolin-sound.so";

} // namespace

ModuleSoundOutput::ModuleSoundOutput() = default;

ModuleSoundOutput::~ModuleSoundOutput() = default; // the module itself stays loaded

QStringList ModuleSoundOutput::modulePaths()
{
    QStringList paths;
    if (QCoreApplication::instance()) {
        const QDir exeDir(QCoreApplication::applicationDirPath());
        paths << exeDir.filePath(QLatin1String(kModuleFile));
#ifdef TAVROLIN_SOUND_MODULE_INSTALLED
        // Where an installation puts it, relative to the game's own folder.
        paths << QDir::cleanPath(exeDir.filePath(QStringLiteral(TAVROLIN_SOUND_MODULE_INSTALLED)));
#endif
    }
#ifdef TAVROLIN_SOUND_MODULE_BUILT
    paths << QStringLiteral(TAVROLIN_SOUND_MODULE_BUILT);
#endif
    return paths;
}

bool ModuleSoundOutput::load()
{
    if (m_tried)
        return isLoaded();
    m_tried = true;
    using Factory = SoundOutput *(*)();
    for (const QString &path : modulePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        if (!module.load())
            continue;
        if (auto factory = reinterpret_cast<Factory>(module.resolve("tavrolin_new_sound_output"))) {
            m_output.reset(factory());
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
