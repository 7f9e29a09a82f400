#pragma once

#include "ui/soundoutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QObject>

#include <memory>

class QAudioSink;

namespace ui {

// Plays on the default audio output of the machine. The image playing is
// held until its sink has stopped, so it outlives its playback. Built into
// the sound module, never into the game itself (see ModuleSoundOutput).
class Q_DECL_EXPORT AudioSinkOutput final : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    explicit AudioSinkOutput(QObject *parent = nullptr);
    ~AudioSinkOutput() override;

    void play(const QByteArray &wavImage) override;
    bool isPlaying() const override;

private:
    void stop();

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_samples;  // reads the sample bytes of m_image in place
    QByteArray m_image; // the image m_sink plays from
};

} // namespace ui

// The module's one entry point: a new AudioSinkOutput, owned by the caller.
extern "C" Q_DECL_EXPORT ui::SoundOutput *tavrolin_new_sound_output();
