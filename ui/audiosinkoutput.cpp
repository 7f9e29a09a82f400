#include "ui/audiosinkoutput.h"

#include "ui/wavreader.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace ui {

namespace {

QAudioFormat audioFormat(const WavInfo &info)
{
    QAudioFormat format;
    format.setSampleRate(static_cast<int>(info.sampleRate));
    format.setChannelCount(info.channels);
    format.setSampleFormat(info.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return format;
}

} // namespace

AudioSinkOutput::AudioSinkOutput(QObject *parent) : QObject(parent) {}

AudioSinkOutput::~AudioSinkOutput()
{
    stop();
}

bool AudioSinkOutput::isPlaying() const
{
    return m_sink && m_sink->state() == QAudio::ActiveState;
}

void AudioSinkOutput::stop()
{
    if (m_sink)
        m_sink->stop();
    m_samples.close();
    m_samples.setData(QByteArray());
}

void AudioSinkOutput::play(const QByteArray &wavImage)
{
    // The sound still playing stops first; only then may its image go.
    stop();
    m_image = wavImage;

    const std::optional<WavInfo> info = readWav(m_image);
    if (!info)
        return;
    const QAudioFormat format = audioFormat(*info);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(format))
        return;

    // A fresh sink for every sound: restarting a stopped one can replay
    // scraps of what it played before.
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_samples.setData(QByteArray::fromRawData(m_image.constData() + info->dataOffset, info->playableSize));
    m_samples.open(QIODevice::ReadOnly);
    m_sink->start(&m_samples);
    if (m_sink->error() != QAudio::NoError)
        stop();
}

} // namespace ui

ui::SoundOutput *tavrolin_new_sound_output()
{
    return new ui::AudioSinkOutput;
}
