#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QObject>

#include <memory>

class QAudioSink;

namespace ui {

// Where the game's sounds go. play() is given a complete WAV image in
// memory; it returns at once while the sound plays, a new sound stops the
// one still playing, and a sound that cannot be played is simply not heard.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual void play(const QByteArray &wavImage) = 0;
};

// Plays on the default audio output of the machine. The image playing is
// held until its sink has stopped, so it outlives its playback.
class AudioSinkOutput final : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    explicit AudioSinkOutput(QObject *parent = nullptr);
    ~AudioSinkOutput() override;

    void play(const QByteArray &wavImage) override;

    // True while a sound is being fed to the device.
    bool isPlaying() const;

private:
    void stop();

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_samples;  // reads the sample bytes of m_image in place
    QByteArray m_image; // the image m_sink plays from
};

} // namespace ui
