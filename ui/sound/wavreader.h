// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace ui {

// Why an image was refused.
enum class WavError {
    None,
    Truncated,         // shorter than a RIFF header, or the RIFF size runs past the end
    NotRiffWave,       // no "RIFF" ... "WAVE" header
    ChunkPastEnd,      // a chunk header or body runs past the end of the RIFF body
    MissingFormat,     // no "fmt " chunk before the "data" chunk
    MissingData,       // no "data" chunk
    BadFormat,         // a "fmt " chunk whose fields contradict each other
    UnsupportedFormat, // not plain PCM of 8 or 16 bits, mono or stereo, at a rate an int holds
    EmptyData,         // a "data" chunk without a single whole sample frame
};

// Where the samples of a RIFF/WAVE image lie and how to play them.
struct WavInfo
{
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint16 bitsPerSample = 0; // 8: unsigned samples, 16: signed little-endian
    quint16 blockAlign = 0;    // bytes per sample frame
    quint32 formatSize = 0;    // size of the "fmt " chunk body
    qsizetype dataOffset = 0;  // first sample byte within the image
    qsizetype dataSize = 0;    // sample bytes as the "data" chunk declares them
    qsizetype playableSize = 0; // dataSize cut to whole sample frames
};

// Reads a complete RIFF/WAVE image held in memory. Every size is checked
// against the buffer; odd-sized chunks are followed by their pad byte
// (only the very last one may lack it); chunks other than "fmt " and
// "data" are skipped. Only uncompressed PCM is accepted.
std::optional<WavInfo> readWav(QByteArrayView image, WavError *error = nullptr);

} // namespace ui
