// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtPlugin>

#include <memory>

namespace ui {

// Where the game's sounds go. play() is given a complete WAV image in
// memory; it returns at once while the sound plays, a new sound stops the
// one still playing, and a sound that cannot be played is simply not heard.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual void play(const QByteArray &wavImage) = 0;
    // True while a sound is being fed to the device.
    virtual bool isPlaying() const { return false; }
};

// What the sound module, a Qt plugin, offers: outputs to the machine's
// audio device.
class SoundOutputPlugin
{
public:
    virtual ~SoundOutputPlugin() = default;
    virtual std::unique_ptr<SoundOutput> createOutput() = 0;
};

// The machine's audio output, played by the sound module (libtavrolin-sound,
// a PulseSoundOutput from ui/sound), which brings in libpulse. The module
// is loaded on the first sound, or earlier by load(), so that the window
// comes up without them; loading it also opens the audio stream, so the
// first sound does not wait for the sound server. Without the module
// nothing is heard.
class ModuleSoundOutput final : public SoundOutput
{
public:
    // Looks for the module in `paths`, the first that loads wins.
    explicit ModuleSoundOutput(QStringList paths = modulePaths());
    ~ModuleSoundOutput() override;

    void play(const QByteArray &wavImage) override;
    bool isPlaying() const override;

    // Loads the module if that has not been tried yet; true when loaded.
    bool load();
    bool isLoaded() const { return m_output != nullptr; }

    // Where the game looks for the module, in order: beside the executable
    // (a build, or an unpacked folder), then where an installation puts it,
    // found from the executable's own folder (so whatever the prefix).
    static QStringList modulePaths();

private:
    QStringList m_paths;
    bool m_tried = false;
    std::unique_ptr<SoundOutput> m_output;
};

} // namespace ui

#define TAVROLIN_SOUND_OUTPUT_PLUGIN_IID "org.tavrolin.SoundOutputPlugin/1.0"
Q_DECLARE_INTERFACE(ui::SoundOutputPlugin, TAVROLIN_SOUND_OUTPUT_PLUGIN_IID)
