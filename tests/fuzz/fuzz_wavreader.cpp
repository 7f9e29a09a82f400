// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The RIFF/WAVE chunk reader: any bytes, as a sound file on disk could hold.
// What it accepts must lie wholly inside the image and be playable as told.

#include "fuzzcheck.h"
#include "ui/sound/wavreader.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView image(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ui::WavError error = ui::WavError::None;
    const std::optional<ui::WavInfo> info = ui::readWav(image, &error);
    if (!info) {
        FUZZ_CHECK(error != ui::WavError::None);
        return 0;
    }
    FUZZ_CHECK(error == ui::WavError::None);
    FUZZ_CHECK(info->channels == 1 || info->channels == 2);
    FUZZ_CHECK(info->bitsPerSample == 8 || info->bitsPerSample == 16);
    FUZZ_CHECK(info->blockAlign == info->channels * info->bitsPerSample / 8);
    // The audio output takes the rate as an int.
    FUZZ_CHECK(info->sampleRate > 0 && info->sampleRate <= quint32(std::numeric_limits<int>::max()));
    FUZZ_CHECK(info->dataOffset >= 12 + 8 + 8 + 16); // after the header, a "fmt " chunk and its own header
    FUZZ_CHECK(info->playableSize > 0 && info->playableSize <= info->dataSize);
    FUZZ_CHECK(info->playableSize % info->blockAlign == 0);
    FUZZ_CHECK(info->dataOffset + info->dataSize <= image.size());
    // Touch every sample byte the player would hand on.
    unsigned sum = 0;
    for (qsizetype i = 0; i < info->playableSize; ++i)
        sum += static_cast<unsigned char>(image[info->dataOffset + i]);
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
