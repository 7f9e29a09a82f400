// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "ui/sound/soundmixer.h"
#include "ui/soundoutput.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <chrono>
#include <vector>

struct pa_context;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

namespace ui {

// Plays on the sound server's default sink (PulseAudio, or PipeWire through
// pipewire-pulse), through libpulse, in one playback stream in the mixer's
// format (see SoundMixer) kept by libpulse's own thread.
//
// While the stream is open it never runs dry: every FeedMs the output asks
// the server where it reads and writes, and tops the queue up to BufferMs
// with the mixer's output, silence between sounds, so the server never sees
// an underrun or a drain there. The server's own positions are the measure:
// its requests lag after a write at the read position on pipewire-pulse,
// and a reckoning by the clock misses what a new stream takes at first. A
// sound that comes while only silence is queued is written over that
// silence, at the server's read position (PA_SEEK_RELATIVE_ON_READ): it
// plays from its first sample at the server's next read, whatever the
// server did with the queue before; an answer about the queue asked for
// before such a write no longer counts. A sound that cuts another follows
// the old one's fade in the queue, at most one buffer later. The stream
// asks for early requests of CycleMs, which has the server run its cycle
// that short, however long the buffer.
//
// The connection to the server is made with the output; the stream is opened
// with it too (so that the first sound waits for nothing), and closed once
// nothing has sounded for IdleCloseMs, so that an idle game has no stream
// and no wake-ups; the next sound opens it again. When the server goes away
// the sound of the moment is dropped and the game goes on in silence; the
// next sound connects again. play() only hands the image over (the sound
// keeps its own reference to it until it has stopped) and returns at once.
// Built into the sound module, never into the game itself (see
// ModuleSoundOutput).
class Q_DECL_EXPORT PulseSoundOutput final : public SoundOutput
{
public:
    PulseSoundOutput();
    ~PulseSoundOutput() override;
    PulseSoundOutput(const PulseSoundOutput &) = delete;
    PulseSoundOutput &operator=(const PulseSoundOutput &) = delete;

    void play(const QByteArray &wavImage) override;
    bool isPlaying() const override;

    // The stream's buffer (what the server is kept holding), and how often
    // it is topped up.
    static constexpr int BufferMs = 60;
    static constexpr int FeedMs = 10;
    // The server's cycle the stream asks for (its request size): PipeWire
    // runs 256 frames at 48 kHz (5.3 ms, the least pipewire-pulse allows)
    // for it, PulseAudio's sink 5 ms.
    static constexpr int CycleMs = 5;
    // How long the stream stays open with nothing to play.
    static constexpr int IdleCloseMs = 2000;
    // Silence a new stream begins with: PulseAudio loses up to a cycle of
    // what a new stream holds first.
    static constexpr int NewStreamLeadMs = 2 * CycleMs;

    // Times the server found the stream empty while it played (for tests).
    int underflows() const { return m_underflows.load(); }
    // A stream is open on the server (for tests).
    bool hasStream() const;

private:
    using Clock = std::chrono::steady_clock;

    void connectContext();
    void dropConnection();
    void openStream();
    void closeStream();
    void feed();
    void topUp();
    void writeSound(size_t bytes, int seekMode);
    bool onlySilenceQueued() const;

    static void contextStateChanged(pa_context *context, void *self);
    static void streamStateChanged(pa_stream *stream, void *self);
    static void timingArrived(pa_stream *stream, int success, void *self);
    static void streamUnderflowed(pa_stream *stream, void *self);
    static void feedDue(pa_mainloop_api *api, pa_time_event *event, const struct timeval *, void *self);

    // All below, but the counter, only under the main loop's lock.
    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    pa_time_event *m_feedTimer = nullptr; // once the stream is ready, while it is open
    SoundMixer m_mixer;
    Clock::time_point m_lastSoundWritten{}; // when the mixer last gave sound
    Clock::time_point m_lastSounding{};     // when something last sounded or was asked to
    bool m_timingAsked = false;             // an answer about the queue is on its way
    int m_seeks = 0;                        // sounds written at the read position
    int m_timingAskedAt = 0;                // m_seeks when the answer on its way was asked for
    size_t m_newStreamLeadBytes = 0;        // of silence, still to come first
    std::vector<qint16> m_render;
    std::atomic<int> m_underflows{0};
};

// The sound module's plugin object: what the game's loader finds in it.
class PulseSoundPlugin final : public QObject, public SoundOutputPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TAVROLIN_SOUND_OUTPUT_PLUGIN_IID)
    Q_INTERFACES(ui::SoundOutputPlugin)
public:
    std::unique_ptr<SoundOutput> createOutput() override;
};

} // namespace ui
