// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/audiosinkoutput.h"

#include "ui/soundmixer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <vector>

namespace ui {

namespace {

constexpr qsizetype kBytesPerFrame = qsizetype(SoundMixer::Channels) * 2;

QAudioFormat streamFormat()
{
    QAudioFormat format;
    format.setSampleRate(SoundMixer::SampleRate);
    format.setChannelCount(SoundMixer::Channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

// What the game's thread and the feeding thread share.
struct AudioSinkOutput::Shared
{
    QMutex mutex;
    SoundMixer mixer; // under mutex
    // The last attempt to open the stream worked (it may since have been
    // closed for want of sounds); under mutex.
    bool reachable = false;

    void setReachable(bool value)
    {
        QMutexLocker lock(&mutex);
        reachable = value;
        if (!value)
            mixer.clear(); // cannot be played: not heard at all
    }
};

// Lives on the feeding thread: owns the stream and keeps its buffer full.
class AudioSinkOutput::Feeder final : public QObject
{
public:
    explicit Feeder(std::shared_ptr<Shared> shared) : m_shared(std::move(shared))
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(FeedIntervalMs);
        connect(&m_timer, &QTimer::timeout, this, &Feeder::feed);
    }
    ~Feeder() override { close(); }

    // Opens the stream before the first sound, so that it starts at once.
    void prepare() { m_shared->setReachable(open()); }

    // A sound has been queued.
    void wake()
    {
        if (!m_sink) {
            {
                QMutexLocker lock(&m_shared->mutex);
                if (!m_shared->mixer.isSounding())
                    return;
            }
            const bool opened = open();
            m_shared->setReachable(opened);
            if (!opened)
                return;
        }
        feed();
    }

private:
    bool open()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const QAudioFormat format = streamFormat();
        if (device.isNull() || !device.isFormatSupported(format))
            return false;
        auto sink = std::make_unique<QAudioSink>(device, format);
        sink->setBufferSize(format.bytesForDuration(qint64(RequestedLatencyMs) * 1000));
        QIODevice *stream = sink->start();
        if (!stream || sink->error() != QAudio::NoError)
            return false;
        m_sink = std::move(sink);
        m_stream = stream;
        m_silentFor.invalidate();
        m_timer.start();
        return true;
    }

    void close()
    {
        m_timer.stop();
        m_stream = nullptr;
        if (m_sink) {
            m_sink->stop();
            m_sink.reset();
        }
    }

    void feed()
    {
        if (!m_sink)
            return;
        if (m_sink->state() == QAudio::StoppedState || m_sink->error() == QAudio::FatalError
            || m_sink->error() == QAudio::IOError) {
            // The sound server has gone: what was playing is lost, and the
            // next sound tries a new stream.
            close();
            m_shared->setReachable(false);
            return;
        }
        // Only sound goes out, never silence: between sounds the stream runs
        // dry and waits, empty, so that the next sound is mixed the moment
        // it arrives instead of queueing behind a buffer of silence. (The
        // server starts a stream that ran dry again once it holds a full
        // buffer, which the first write of a sound gives it.)
        qsizetype frames = m_sink->bytesFree() / kBytesPerFrame;
        bool sounding = false;
        {
            QMutexLocker lock(&m_shared->mutex);
            if (!m_shared->mixer.isSounding())
                frames = 0;
            if (frames > 0) {
                m_buffer.resize(static_cast<size_t>(frames * SoundMixer::Channels));
                m_shared->mixer.render(m_buffer.data(), frames);
            }
            sounding = m_shared->mixer.isSounding();
        }
        if (frames > 0)
            m_stream->write(reinterpret_cast<const char *>(m_buffer.data()), frames * kBytesPerFrame);

        if (sounding) {
            m_silentFor.invalidate();
        } else if (!m_silentFor.isValid()) {
            m_silentFor.start();
        } else if (m_silentFor.elapsed() >= IdleCloseMs) {
            close(); // nothing to play: no stream, no wake-ups
        }
    }

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_stream = nullptr; // m_sink's
    QTimer m_timer;
    QElapsedTimer m_silentFor; // valid while the stream plays silence
    std::vector<qint16> m_buffer;
};

// Runs the Feeder, made and destroyed on this thread, in an event loop.
class AudioSinkOutput::FeedThread final : public QThread
{
public:
    explicit FeedThread(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}

    // Starts the thread; returns once its Feeder exists.
    void launch()
    {
        start();
        m_ready.acquire();
    }
    Feeder *feeder() const { return m_feeder; }

protected:
    void run() override
    {
        Feeder feeder(m_shared);
        m_feeder = &feeder;
        m_ready.release();
        feeder.prepare();
        exec();
    }

private:
    std::shared_ptr<Shared> m_shared;
    Feeder *m_feeder = nullptr; // set before m_ready is released
    QSemaphore m_ready;
};

AudioSinkOutput::AudioSinkOutput(QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>()), m_thread(std::make_unique<FeedThread>(m_shared))
{
    // The multimedia back end comes up here, on the game's thread (its
    // objects belong there), and only the streams on the feeding thread.
    QMediaDevices::defaultAudioOutput();
    m_thread->launch();
    connect(this, &AudioSinkOutput::soundQueued, m_thread->feeder(), &Feeder::wake, Qt::QueuedConnection);
}

AudioSinkOutput::~AudioSinkOutput()
{
    m_thread->quit();
    m_thread->wait(); // the Feeder closes the stream as the thread ends
}

bool AudioSinkOutput::isPlaying() const
{
    QMutexLocker lock(&m_shared->mutex);
    return m_shared->reachable && m_shared->mixer.isSounding();
}

void AudioSinkOutput::play(const QByteArray &wavImage)
{
    std::optional<MixerSound> sound = MixerSound::fromImage(wavImage);
    {
        // The sound still playing fades out first; its image goes only
        // when it has stopped.
        QMutexLocker lock(&m_shared->mutex);
        m_shared->mixer.play(std::move(sound));
    }
    emit soundQueued(QPrivateSignal());
}

std::unique_ptr<SoundOutput> AudioSinkPlugin::createOutput()
{
    return std::make_unique<AudioSinkOutput>();
}

} // namespace ui
