// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>

#include <functional>
#include <utility>

namespace testing {

// A PCM WAV image; `sample(frame, channel)` gives each value as stored.
inline QByteArray makeWav(int channels, int rate, int bits, int frames, const std::function<int(int, int)> &sample)
{
    QByteArray data;
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            data.append(char(sample(f, c) & 0xff));
            if (bits == 16)
                data.append(char((sample(f, c) >> 8) & 0xff));
        }
    }
    QByteArray image;
    auto le = [&image](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            image.append(char((v >> (8 * i)) & 0xff));
    };
    const int align = channels * bits / 8;
    image.append("RIFF");
    le(quint32(36 + data.size()), 4);
    image.append("WAVEfmt ");
    for (auto [value, bytes] : {std::pair(16, 4), {1, 2}, {channels, 2}, {rate, 4}, {rate * align, 4}, {align, 2}, {bits, 2}})
        le(quint32(value), bytes);
    image.append("data");
    le(quint32(data.size()), 4);
    return image + data;
}

} // namespace testing
