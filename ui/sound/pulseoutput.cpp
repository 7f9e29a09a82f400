// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/sound/pulseoutput.h"

#include <pulse/context.h>
#include <pulse/operation.h>
#include <pulse/sample.h>
#include <pulse/proplist.h>
#include <pulse/rtclock.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <QLoggingCategory>

#include <algorithm>

namespace ui {

namespace {

// QT_LOGGING_RULES="tavrolin.sound.info=true" shows each underflow the
// server reports.
Q_LOGGING_CATEGORY(lcSound, "tavrolin.sound", QtWarningMsg)

constexpr size_t kBytesPerFrame = size_t(SoundMixer::Channels) * sizeof(qint16);

// The mixer's output format.
constexpr pa_sample_spec kFormat{PA_SAMPLE_S16LE, SoundMixer::SampleRate, SoundMixer::Channels};

// How many bytes of the stream play for `duration`.
size_t bytesFor(std::chrono::microseconds duration)
{
    return pa_usec_to_bytes(pa_usec_t(duration.count()), &kFormat);
}

size_t bytesFor(int ms)
{
    return bytesFor(std::chrono::milliseconds(ms));
}

// Holds the main loop's lock for a scope (on any thread but the loop's own).
class LoopLock
{
public:
    explicit LoopLock(pa_threaded_mainloop *loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock &) = delete;
    LoopLock &operator=(const LoopLock &) = delete;

private:
    pa_threaded_mainloop *m_loop;
};

} // namespace

PulseSoundOutput::PulseSoundOutput() : m_loop(pa_threaded_mainloop_new())
{
    if (!m_loop)
        return;
    pa_threaded_mainloop_set_name(m_loop, "tavrolin-sound");
    if (pa_threaded_mainloop_start(m_loop) < 0) {
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
        return;
    }
    LoopLock lock(m_loop);
    connectContext(); // and the stream, once connected
}

PulseSoundOutput::~PulseSoundOutput()
{
    if (!m_loop)
        return;
    {
        LoopLock lock(m_loop);
        dropConnection();
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

void PulseSoundOutput::connectContext()
{
    pa_proplist *props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Tavrolin");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "tavrolin");
    m_context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(m_loop), "Tavrolin", props);
    pa_proplist_free(props);
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, &PulseSoundOutput::contextStateChanged, this);
    // Never starts a server of its own: no server, no sound.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        dropConnection();
}

void PulseSoundOutput::dropConnection()
{
    closeStream();
    m_mixer.clear(); // what could not be played is not heard at all
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

void PulseSoundOutput::openStream()
{
    pa_proplist *props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "game");
    m_stream = pa_stream_new_with_proplist(m_context, "Sounds", &kFormat, nullptr, props);
    pa_proplist_free(props);
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, &PulseSoundOutput::streamStateChanged, this);
    pa_stream_set_underflow_callback(m_stream, &PulseSoundOutput::streamUnderflowed, this);
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(bytesFor(BufferMs));
    attr.prebuf = uint32_t(-1); // starts once a buffer is there, and again so after any underrun
    attr.minreq = uint32_t(bytesFor(CycleMs));
    attr.fragsize = uint32_t(-1);
    // Early requests: the server runs its cycle at the request size, not at
    // one derived from the buffer. Sounds after silence skip the queue, and
    // only a cut waits behind it.
    if (pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_EARLY_REQUESTS, nullptr, nullptr) < 0) {
        closeStream();
        return;
    }
    m_lastSounding = Clock::now();
    m_newStreamLeadBytes = bytesFor(NewStreamLeadMs);
}

void PulseSoundOutput::closeStream()
{
    if (m_feedTimer) {
        pa_threaded_mainloop_get_api(m_loop)->time_free(m_feedTimer);
        m_feedTimer = nullptr;
    }
    if (!m_stream)
        return;
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    pa_stream_set_underflow_callback(m_stream, nullptr, nullptr);
    pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
}

bool PulseSoundOutput::onlySilenceQueued() const
{
    // What was written last with sound in it has been played by now: the
    // server never holds more than a buffer and a top-up.
    return !m_mixer.isSounding()
        && Clock::now() - m_lastSoundWritten > std::chrono::milliseconds(BufferMs + 2 * FeedMs);
}

void PulseSoundOutput::feed()
{
    if (!m_mixer.isSounding() && Clock::now() - m_lastSounding >= std::chrono::milliseconds(IdleCloseMs)) {
        closeStream(); // nothing to play: no stream, no wake-ups
        return;
    }
    // Asks the server where it reads and writes; the answer tops the queue up.
    if (!m_timingAsked) {
        if (pa_operation *asked = pa_stream_update_timing_info(m_stream, &PulseSoundOutput::timingArrived, this)) {
            pa_operation_unref(asked);
            m_timingAsked = true;
            m_timingAskedAt = m_seeks;
        }
    }
    pa_context_rttime_restart(m_context, m_feedTimer, pa_rtclock_now() + pa_usec_t(FeedMs) * PA_USEC_PER_MSEC);
}

void PulseSoundOutput::topUp()
{
    const pa_timing_info *timing = pa_stream_get_timing_info(m_stream);
    if (!timing || timing->write_index_corrupt || timing->read_index_corrupt)
        return;
    const qint64 queued = std::max<qint64>(0, timing->write_index - timing->read_index);
    const qint64 missing = qint64(bytesFor(BufferMs)) - queued;
    if (missing >= qint64(bytesFor(FeedMs)) / 2)
        writeSound(size_t(missing), PA_SEEK_RELATIVE);
}

void PulseSoundOutput::writeSound(size_t bytes, int seekMode)
{
    const qsizetype frames = qsizetype(bytes / kBytesPerFrame);
    if (frames <= 0)
        return;
    m_render.resize(size_t(frames) * SoundMixer::Channels);
    const bool sounding = m_mixer.isSounding();
    const qsizetype lead = std::min(frames, qsizetype(m_newStreamLeadBytes / kBytesPerFrame));
    m_newStreamLeadBytes = 0;
    std::fill_n(m_render.begin(), lead * SoundMixer::Channels, qint16(0));
    m_mixer.render(m_render.data() + lead * SoundMixer::Channels, frames - lead);
    if (sounding)
        m_lastSoundWritten = m_lastSounding = Clock::now();
    pa_stream_write(m_stream, m_render.data(), size_t(frames) * kBytesPerFrame, nullptr, 0,
                    static_cast<pa_seek_mode_t>(seekMode));
}

void PulseSoundOutput::play(const QByteArray &wavImage)
{
    std::optional<MixerSound> sound = MixerSound::fromImage(wavImage);
    if (!m_loop)
        return;
    LoopLock lock(m_loop);
    const bool overSilence = onlySilenceQueued();
    // The sound still playing fades out first; its image goes only when it
    // has stopped.
    m_mixer.play(std::move(sound));
    m_lastSounding = Clock::now();
    if (!m_mixer.isSounding())
        return;
    if (!m_context) {
        connectContext(); // the server had gone: try again, this sound waiting
    } else if (!m_stream) {
        if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
            openStream(); // its first top-up takes the sound
    } else if (m_feedTimer && overSilence) { // the stream is ready
        // Over the silence queued, from where the server reads next: the
        // queue then holds exactly what is written here, and an answer
        // about the queue from before it no longer counts.
        ++m_seeks;
        writeSound(bytesFor(BufferMs), PA_SEEK_RELATIVE_ON_READ);
    }
}

bool PulseSoundOutput::isPlaying() const
{
    if (!m_loop)
        return false;
    LoopLock lock(m_loop);
    return m_context && m_mixer.isSounding();
}

bool PulseSoundOutput::hasStream() const
{
    if (!m_loop)
        return false;
    LoopLock lock(m_loop);
    return m_stream != nullptr;
}

void PulseSoundOutput::contextStateChanged(pa_context *context, void *self)
{
    auto *out = static_cast<PulseSoundOutput *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        if (!out->m_stream)
            out->openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        out->dropConnection(); // the server has gone, or never was
        break;
    default:
        break;
    }
}

void PulseSoundOutput::streamStateChanged(pa_stream *stream, void *self)
{
    auto *out = static_cast<PulseSoundOutput *>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        out->m_timingAsked = false;
        out->m_feedTimer = pa_context_rttime_new(out->m_context, pa_rtclock_now(), &PulseSoundOutput::feedDue, out);
        out->feed();
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        out->closeStream();
        out->m_mixer.clear();
        break;
    default:
        break;
    }
}

void PulseSoundOutput::timingArrived(pa_stream *stream, int success, void *self)
{
    auto *out = static_cast<PulseSoundOutput *>(self);
    if (stream != out->m_stream)
        return; // a stream closed since
    out->m_timingAsked = false;
    if (success && out->m_timingAskedAt == out->m_seeks && out->m_feedTimer)
        out->topUp();
}

void PulseSoundOutput::streamUnderflowed(pa_stream *, void *self)
{
    ++static_cast<PulseSoundOutput *>(self)->m_underflows;
    qCInfo(lcSound, "underflow: the sound server found the stream empty");
}

void PulseSoundOutput::feedDue(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self)
{
    static_cast<PulseSoundOutput *>(self)->feed();
}

std::unique_ptr<SoundOutput> PulseSoundPlugin::createOutput()
{
    return std::make_unique<PulseSoundOutput>();
}

} // namespace ui
