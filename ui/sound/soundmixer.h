// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "ui/sound/wavreader.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <optional>

namespace ui {

// One sound ready to play: a WAV image, read in place, as frames of the
// mixer's output format. Holds its own reference to the image, so the image
// lives as long as the sound does, whoever else lets it go.
class MixerSound
{
public:
    // Null when the image cannot be played.
    static std::optional<MixerSound> fromImage(const QByteArray &image);

    // Length in output frames: the image's duration at the output rate.
    qsizetype frameCount() const { return m_frames; }
    // Output frame `index` (0 <= index < frameCount()) as left, right.
    std::array<qint16, 2> frame(qsizetype index) const;

    const QByteArray &image() const { return m_image; }

private:
    MixerSound(const QByteArray &image, const WavInfo &info);
    qint16 sample(qsizetype inputFrame, int channel) const;

    QByteArray m_image;
    WavInfo m_info;
    qsizetype m_inputFrames = 0;
    qsizetype m_frames = 0;
};

// The stream all sounds go out in, one after another: 22050 Hz, stereo,
// signed 16-bit. Every sound is converted on the fly (8-bit to 16-bit, mono
// to both channels, other rates by linear interpolation; 11025 Hz doubles
// exactly), so one open output stream serves them all. A new sound cuts the
// one still sounding: the old one goes on for FadeFrames with a falling
// gain (a click-free stop), then the new one starts from its first frame.
// Not thread-safe: its owner serialises play() and render().
class SoundMixer
{
public:
    static constexpr int SampleRate = 22050;
    static constexpr int Channels = 2;
    static constexpr int FadeFrames = 88; // 4 ms at 22050 Hz

    SoundMixer();

    // Queues `sound` to start at once (after the fade of the sound still
    // sounding); nullopt stops the current sound without a new one.
    void play(std::optional<MixerSound> sound);
    // Drops everything at once, without a fade (the stream has gone).
    void clear();

    // Writes `frames` interleaved stereo frames to `out`; silence where
    // nothing sounds.
    void render(qint16 *out, qsizetype frames);

    // True while a sound, its fade or a queued sound has frames to give.
    bool isSounding() const;

    // Gain of fade frame `index` (0 .. FadeFrames - 1), in 1/32768: falls
    // from just below full level to 0 at the last one.
    static int fadeGain(int index);

private:
    std::optional<MixerSound> m_current; // sounding, or fading when m_fadeLeft > 0
    qsizetype m_position = 0;            // next frame of m_current
    int m_fadeLeft = 0;                  // frames of fade still to come
    std::optional<MixerSound> m_next;    // starts when the fade is over
};

} // namespace ui
