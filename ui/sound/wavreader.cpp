// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/sound/wavreader.h"

#include <limits>

namespace ui {

namespace {

constexpr qsizetype kRiffHeader = 12; // "RIFF", size, "WAVE"
constexpr qsizetype kChunkHeader = 8; // id, size
constexpr quint16 kPcm = 1;

quint16 le16(QByteArrayView b, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | static_cast<quint8>(b[at + 1]) << 8);
}

quint32 le32(QByteArrayView b, qsizetype at)
{
    return static_cast<quint32>(le16(b, at)) | static_cast<quint32>(le16(b, at + 2)) << 16;
}

bool hasId(QByteArrayView b, qsizetype at, const char (&id)[5])
{
    return b.sliced(at, 4) == QByteArrayView(id, 4);
}

std::optional<WavInfo> fail(WavError *error, WavError why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

// Fills the format fields from a "fmt " chunk body of `size` bytes at `at`.
WavError readFormat(QByteArrayView b, qsizetype at, quint32 size, WavInfo &info)
{
    if (size < 16)
        return WavError::BadFormat;
    const quint16 tag = le16(b, at);
    info.channels = le16(b, at + 2);
    info.sampleRate = le32(b, at + 4);
    const quint32 byteRate = le32(b, at + 8);
    info.blockAlign = le16(b, at + 12);
    info.bitsPerSample = le16(b, at + 14);
    info.formatSize = size;
    if (size >= 18 && 18u + le16(b, at + 16) > size)
        return WavError::BadFormat; // the extra part claims more than the chunk holds
    if (tag != kPcm || (info.bitsPerSample != 8 && info.bitsPerSample != 16) || info.channels < 1
        || info.channels > 2 || info.sampleRate > static_cast<quint32>(std::numeric_limits<int>::max()))
        return WavError::UnsupportedFormat; // the audio output takes the rate as an int
    // The product in 64 bits: cut to 32 it could match a byte rate by chance.
    if (info.sampleRate == 0 || info.blockAlign != info.channels * info.bitsPerSample / 8
        || byteRate != static_cast<quint64>(info.sampleRate) * info.blockAlign)
        return WavError::BadFormat;
    return WavError::None;
}

} // namespace

std::optional<WavInfo> readWav(QByteArrayView image, WavError *error)
{
    if (error)
        *error = WavError::None;
    if (image.size() < kRiffHeader)
        return fail(error, WavError::Truncated);
    if (!hasId(image, 0, "RIFF") || !hasId(image, 8, "WAVE"))
        return fail(error, WavError::NotRiffWave);
    const quint32 riffSize = le32(image, 4);
    if (riffSize < 4 || static_cast<quint64>(riffSize) + 8 > static_cast<quint64>(image.size()))
        return fail(error, WavError::Truncated);
    const qsizetype end = static_cast<qsizetype>(riffSize) + 8;

    WavInfo info;
    bool haveFormat = false;
    for (qsizetype at = kRiffHeader; at < end;) {
        if (end - at < kChunkHeader)
            return fail(error, WavError::ChunkPastEnd);
        const quint32 size = le32(image, at + 4);
        const qsizetype body = at + kChunkHeader;
        if (static_cast<quint64>(size) > static_cast<quint64>(end - body))
            return fail(error, WavError::ChunkPastEnd);

        if (hasId(image, at, "fmt ")) {
            if (haveFormat)
                return fail(error, WavError::BadFormat);
            const WavError why = readFormat(image, body, size, info);
            if (why != WavError::None)
                return fail(error, why);
            haveFormat = true;
        } else if (hasId(image, at, "data")) {
            if (!haveFormat)
                return fail(error, WavError::MissingFormat);
            info.dataOffset = body;
            info.dataSize = size;
            info.playableSize = size - size % info.blockAlign;
            if (info.playableSize == 0)
                return fail(error, WavError::EmptyData);
            return info;
        }
        // Odd-sized chunks carry a pad byte; a missing one at the very end is forgiven.
        at = body + size + (size & 1);
    }
    return fail(error, haveFormat ? WavError::MissingData : WavError::MissingFormat);
}

} // namespace ui
