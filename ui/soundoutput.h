#pragma once

#include <QByteArray>

#include <memory>

class QLibrary;

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

// The machine's audio output, played by the sound module (libtavrolin-sound,
// an AudioSinkOutput), which brings in the multimedia libraries. The module
// is loaded on the first sound, or earlier by load(), so that the window
// comes up without them; loading it also opens the audio stream, so the
// first sound does not wait for the sound server. Without the module
// nothing is heard.
class ModuleSoundOutput final : public SoundOutput
{
public:
    ModuleSoundOutput();
    ~ModuleSoundOutput() override;

    void play(const QByteArray &wavImage) override;
    bool isPlaying() const override;

    // Loads the module if that has not been tried yet; true when loaded.
    bool load();
    bool isLoaded() const { return m_output != nullptr; }

    // Where the module is looked for, in order: beside the executable, where
    // it is installed, where it was built.
    static QStringList modulePaths();

private:
    bool m_tried = false;
    std::unique_ptr<SoundOutput> m_output;
};

} // namespace ui
