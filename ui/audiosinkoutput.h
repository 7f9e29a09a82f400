// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "ui/soundoutput.h"

#include <QByteArray>
#include <QObject>

#include <memory>

namespace ui {

// Plays on the default audio output of the machine, through one output
// stream in one format (see SoundMixer) that a thread of its own keeps fed
// with a small buffer while a sound plays, and leaves empty between sounds:
// a new sound cuts the old one inside the stream, without a new stream or a
// gap. The stream is opened when the output is
// made (the sound module loading) and again for a sound after a pause; it is
// closed once nothing has sounded for a while, so no stream runs between
// games. play() only hands the image over; the sound keeps its own
// reference to the image until it has stopped. Built into the sound module,
// never into the game itself (see ModuleSoundOutput).
class Q_DECL_EXPORT AudioSinkOutput final : public QObject, public SoundOutput
{
    Q_OBJECT
public:
    explicit AudioSinkOutput(QObject *parent = nullptr);
    ~AudioSinkOutput() override;

    void play(const QByteArray &wavImage) override;
    bool isPlaying() const override;

    // The stream's buffer: what the sound server is asked for, in total
    // (its sink takes part of it), and how often the thread tops it up.
    static constexpr int RequestedLatencyMs = 30;
    static constexpr int FeedIntervalMs = 5;
    // How long the stream stays open with nothing to play.
    static constexpr int IdleCloseMs = 2000;

Q_SIGNALS:
    // A sound has been handed over: tells the feeding thread.
    void soundQueued(QPrivateSignal);

private:
    struct Shared;
    class Feeder;
    class FeedThread;

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<FeedThread> m_thread;
};

// The sound module's plugin object: what the game's loader finds in it.
class AudioSinkPlugin final : public QObject, public SoundOutputPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TAVROLIN_SOUND_OUTPUT_PLUGIN_IID)
    Q_INTERFACES(ui::SoundOutputPlugin)
public:
    std::unique_ptr<SoundOutput> createOutput() override;
};

} // namespace ui
