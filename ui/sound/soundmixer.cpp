// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/sound/soundmixer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ui {

namespace {

// A raised-cosine fall: no step at either end, at most pi / (2 FadeFrames)
// of full scale from one frame to the next.
const std::array<int, SoundMixer::FadeFrames> &fadeTable()
{
    static const std::array<int, SoundMixer::FadeFrames> table = [] {
        std::array<int, SoundMixer::FadeFrames> gains{};
        for (int i = 0; i < SoundMixer::FadeFrames; ++i) {
            const double phase = std::numbers::pi * (i + 1) / SoundMixer::FadeFrames;
            gains[static_cast<size_t>(i)] = static_cast<int>(std::lround(16384.0 * (1.0 + std::cos(phase))));
        }
        return gains;
    }();
    return table;
}

qint16 scaled(qint16 sample, int gain)
{
    // |sample * gain| < 2^30; the shift rounds to the nearest value.
    return static_cast<qint16>((sample * gain + (1 << 14)) >> 15);
}

} // namespace

MixerSound::MixerSound(const QByteArray &image, const WavInfo &info)
    : m_image(image), m_info(info), m_inputFrames(info.playableSize / info.blockAlign)
{
    const qint64 rate = info.sampleRate;
    m_frames = std::max<qsizetype>(1, (m_inputFrames * SoundMixer::SampleRate + rate / 2) / rate);
}

std::optional<MixerSound> MixerSound::fromImage(const QByteArray &image)
{
    const std::optional<WavInfo> info = readWav(image);
    if (!info)
        return std::nullopt;
    return MixerSound(image, *info);
}

qint16 MixerSound::sample(qsizetype inputFrame, int channel) const
{
    const qsizetype at = m_info.dataOffset + inputFrame * m_info.blockAlign + qsizetype(channel) * (m_info.bitsPerSample / 8);
    const auto *bytes = reinterpret_cast<const quint8 *>(m_image.constData());
    if (m_info.bitsPerSample == 8)
        return static_cast<qint16>((bytes[at] - 128) * 256);
    return static_cast<qint16>(bytes[at] | bytes[at + 1] << 8);
}

std::array<qint16, 2> MixerSound::frame(qsizetype index) const
{
    // Where the output frame falls in the input, exactly: frame `whole`
    // plus `part` / SampleRate of the way to the next one.
    const qint64 position = static_cast<qint64>(index) * m_info.sampleRate;
    const qsizetype whole = std::min<qsizetype>(position / SoundMixer::SampleRate, m_inputFrames - 1);
    const qint64 part = position % SoundMixer::SampleRate;
    std::array<qint16, 2> out{};
    for (int c = 0; c < 2; ++c) {
        const int channel = m_info.channels == 2 ? c : 0;
        const qint16 a = sample(whole, channel);
        if (part == 0 || whole + 1 >= m_inputFrames) {
            out[static_cast<size_t>(c)] = a;
            continue;
        }
        const qint16 b = sample(whole + 1, channel);
        const double mixed = (a * double(SoundMixer::SampleRate - part) + b * double(part)) / SoundMixer::SampleRate;
        out[static_cast<size_t>(c)] = static_cast<qint16>(std::lround(mixed));
    }
    return out;
}

SoundMixer::SoundMixer()
{
    fadeTable(); // built here, not on the audio thread's first cut
}

int SoundMixer::fadeGain(int index)
{
    return fadeTable()[static_cast<size_t>(index)];
}

void SoundMixer::play(std::optional<MixerSound> sound)
{
    if (m_fadeLeft > 0) {
        // The fade under way goes on; the newest sound follows it.
        m_next = std::move(sound);
        return;
    }
    if (m_current && m_position > 0 && m_position < m_current->frameCount()) {
        m_fadeLeft = FadeFrames;
        m_next = std::move(sound);
        return;
    }
    // Nothing is sounding, or the current sound has not given a frame yet:
    // the new one replaces it outright.
    m_current = std::move(sound);
    m_position = 0;
}

void SoundMixer::clear()
{
    m_current.reset();
    m_next.reset();
    m_position = 0;
    m_fadeLeft = 0;
}

bool SoundMixer::isSounding() const
{
    return m_fadeLeft > 0 || (m_current && m_position < m_current->frameCount());
}

void SoundMixer::render(qint16 *out, qsizetype frames)
{
    qsizetype done = 0;
    while (done < frames) {
        if (m_fadeLeft > 0) {
            while (done < frames && m_fadeLeft > 0 && m_position < m_current->frameCount()) {
                const int gain = fadeGain(FadeFrames - m_fadeLeft);
                const std::array<qint16, 2> f = m_current->frame(m_position++);
                out[2 * done] = scaled(f[0], gain);
                out[2 * done + 1] = scaled(f[1], gain);
                ++done;
                --m_fadeLeft;
            }
            if (m_fadeLeft > 0 && m_position < m_current->frameCount())
                break; // the buffer is full; the fade goes on next time
            // Faded out, or ended on its own during the fade: the old
            // sound (and its image) goes, the next one starts.
            m_fadeLeft = 0;
            m_current = std::move(m_next);
            m_next.reset();
            m_position = 0;
            continue;
        }
        if (m_current && m_position < m_current->frameCount()) {
            const qsizetype n = std::min(frames - done, m_current->frameCount() - m_position);
            for (qsizetype i = 0; i < n; ++i) {
                const std::array<qint16, 2> f = m_current->frame(m_position++);
                out[2 * (done + i)] = f[0];
                out[2 * (done + i) + 1] = f[1];
            }
            done += n;
            continue;
        }
        m_current.reset(); // played to its end
        m_position = 0;
        std::fill(out + 2 * done, out + 2 * frames, qint16(0));
        done = frames;
    }
}

} // namespace ui
