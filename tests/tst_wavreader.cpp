// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The in-memory RIFF/WAVE reader: the three sounds the game carries, and
// images that are broken in the ways a careless writer breaks them.

#include "ui/modgame.h"
#include "ui/sound/wavreader.h"

#include <QRandomGenerator>
#include <QTest>

#include <optional>

using ui::WavError;
using ui::WavInfo;
using ui::readWav;

Q_DECLARE_METATYPE(ui::WavError)

namespace {

void put16(QByteArray &b, quint16 v)
{
    b.append(static_cast<char>(v & 0xff));
    b.append(static_cast<char>(v >> 8));
}

void put32(QByteArray &b, quint32 v)
{
    put16(b, static_cast<quint16>(v & 0xffff));
    put16(b, static_cast<quint16>(v >> 16));
}

quint16 get16(const QByteArray &b, qsizetype at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | static_cast<quint8>(b[at + 1]) << 8);
}

struct Chunk
{
    QByteArray id;
    QByteArray body;
    std::optional<quint32> declaredSize = {}; // a lie about the body's size
    bool pad = true;                          // write the pad byte after an odd body
};

// A "fmt " body; `extra` >= 0 adds the extra-size field with that value.
QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits, int extra = -1)
{
    QByteArray b;
    const quint16 align = static_cast<quint16>(channels * bits / 8);
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * align);
    put16(b, align);
    put16(b, bits);
    if (extra >= 0)
        put16(b, static_cast<quint16>(extra));
    return b;
}

QByteArray image(const QList<Chunk> &chunks, std::optional<quint32> riffSize = {})
{
    QByteArray body("WAVE");
    for (const Chunk &c : chunks) {
        body += c.id;
        put32(body, c.declaredSize.value_or(static_cast<quint32>(c.body.size())));
        body += c.body;
        if (c.pad && c.body.size() % 2 == 1)
            body.append('\0');
    }
    QByteArray out("RIFF");
    put32(out, riffSize.value_or(static_cast<quint32>(body.size())));
    return out + body;
}

Chunk pcmFormat() { return {"fmt ", fmtBody(1, 1, 8000, 8)}; }
Chunk samples(int n) { return {"data", QByteArray(n, '\x80')}; }

} // namespace

class TestWavReader : public QObject
{
    Q_OBJECT
private slots:
    void embeddedSounds_data();
    void embeddedSounds();
    void embeddedSoundsStartAndEndQuietly();
    void acceptedLayouts_data();
    void acceptedLayouts();
    void brokenImages_data();
    void brokenImages();
    void everyCutOfARealSoundIsRefused();
    void corruptHeadersNeverPointOutside();
};

void TestWavReader::embeddedSounds_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("fmtSize");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<int>("wholeSize");
    QTest::addColumn<double>("seconds");

    QTest::newRow("109 good hit") << 109 << 1 << 11025 << 8 << 16 << 8167 << 8212 << 0.74;
    QTest::newRow("110 bad hit") << 110 << 1 << 22050 << 8 << 18 << 4054 << 4100 << 0.18;
    QTest::newRow("111 banner") << 111 << 2 << 22050 << 16 << 18 << 96560 << 96608 << 1.09;
}

void TestWavReader::embeddedSounds()
{
    QFETCH(int, id);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(int, bits);
    QFETCH(int, fmtSize);
    QFETCH(int, dataSize);
    QFETCH(int, wholeSize);
    QFETCH(double, seconds);

    const QByteArray wav = modGame::wavResource(static_cast<qint16>(id));
    QCOMPARE(wav.size(), wholeSize);

    WavError error = WavError::None;
    const std::optional<WavInfo> info = readWav(wav, &error);
    QVERIFY(info);
    QCOMPARE(error, WavError::None);
    QCOMPARE(info->channels, channels);
    QCOMPARE(info->sampleRate, static_cast<quint32>(rate));
    QCOMPARE(info->bitsPerSample, bits);
    QCOMPARE(info->formatSize, static_cast<quint32>(fmtSize));
    QCOMPARE(info->dataSize, dataSize);
    QCOMPARE(info->playableSize, dataSize);
    // One "fmt " and one "data" chunk and nothing else: the data ends the
    // RIFF form, but for the pad byte of an odd-sized data chunk. Whatever
    // follows the form (111 is rounded up to whole 4-byte words) is zero.
    QCOMPARE(info->dataOffset, 12 + 8 + fmtSize + 8);
    const qsizetype formEnd = get16(wav, 4) + (qsizetype(get16(wav, 6)) << 16) + 8;
    QCOMPARE(info->dataOffset + dataSize + dataSize % 2, formEnd);
    QVERIFY(wholeSize - formEnd < 4);
    QCOMPARE(wav.mid(formEnd), QByteArray(wholeSize - formEnd, '\0'));
    if (dataSize % 2)
        QCOMPARE(wav.back(), '\0');
    if (fmtSize == 18)
        QCOMPARE(get16(wav, 12 + 8 + 16), 0); // extra-size field
    const double length = double(dataSize) / (double(rate) * channels * bits / 8);
    QVERIFY2(qAbs(length - seconds) < 0.005, qPrintable(QString::number(length)));
}

// A sample on an 8-bit scale (-128..127) whatever its size, so that quiet
// means the same for every sound.
static int sample8(const QByteArray &wav, const WavInfo &info, qsizetype frame, int channel)
{
    const qsizetype at = info.dataOffset + frame * info.blockAlign + channel * (info.bitsPerSample / 8);
    if (info.bitsPerSample == 8)
        return static_cast<quint8>(wav[at]) - 128;
    return static_cast<qint16>(get16(wav, at)) / 256;
}

// A sound that starts or ends away from silence clicks; one that never
// leaves it is not heard.
void TestWavReader::embeddedSoundsStartAndEndQuietly()
{
    for (qint16 id : {109, 110, 111}) {
        const QByteArray wav = modGame::wavResource(id);
        const std::optional<WavInfo> info = readWav(wav);
        QVERIFY(info);
        const qsizetype frames = info->playableSize / info->blockAlign;
        int loudest = 0;
        for (qsizetype f = 0; f < frames; ++f) {
            for (int c = 0; c < info->channels; ++c) {
                const int s = sample8(wav, *info, f, c);
                loudest = qMax(loudest, qAbs(s));
                if (f == 0 || f == frames - 1)
                    QVERIFY2(qAbs(s) <= 2, qPrintable(QStringLiteral("%1, frame %2: %3").arg(id).arg(f).arg(s)));
            }
        }
        QVERIFY2(loudest > 40, qPrintable(QStringLiteral("%1 peaks at %2").arg(id).arg(loudest)));
    }
}

void TestWavReader::acceptedLayouts_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<int>("dataOffset");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<int>("playable");

    QTest::newRow("plain") << image({pcmFormat(), samples(10)}) << 44 << 10 << 10;
    QTest::newRow("unknown chunks skipped")
        << image({{"LIST", QByteArray(6, 'x')}, pcmFormat(), {"fact", QByteArray(4, 0)}, samples(10)}) << 70 << 10
        << 10;
    QTest::newRow("odd unknown chunk and its pad byte")
        << image({pcmFormat(), {"junk", QByteArray(3, 'j')}, samples(10)}) << 56 << 10 << 10;
    QTest::newRow("odd data, pad byte present") << image({pcmFormat(), samples(7)}) << 44 << 7 << 7;
    QTest::newRow("odd data, last pad byte missing")
        << image({pcmFormat(), {"data", QByteArray(7, '\x80'), {}, false}}) << 44 << 7 << 7;
    QTest::newRow("18-byte fmt") << image({{"fmt ", fmtBody(1, 1, 8000, 8, 0)}, samples(4)}) << 46 << 4 << 4;
    QTest::newRow("fmt with an extra part")
        << image({{"fmt ", fmtBody(1, 1, 8000, 8, 2) + QByteArray(2, 0)}, samples(4)}) << 48 << 4 << 4;
    QTest::newRow("stereo 16-bit, partial last frame cut")
        << image({{"fmt ", fmtBody(1, 2, 22050, 16)}, {"data", QByteArray(10, 0)}}) << 44 << 10 << 8;
    QTest::newRow("bytes after the RIFF body ignored")
        << image({pcmFormat(), samples(4)}) + QByteArray("trailing") << 44 << 4 << 4;
}

void TestWavReader::acceptedLayouts()
{
    QFETCH(QByteArray, wav);
    QFETCH(int, dataOffset);
    QFETCH(int, dataSize);
    QFETCH(int, playable);

    WavError error = WavError::EmptyData;
    const std::optional<WavInfo> info = readWav(wav, &error);
    QVERIFY(info);
    QCOMPARE(error, WavError::None);
    QCOMPARE(info->dataOffset, dataOffset);
    QCOMPARE(info->dataSize, dataSize);
    QCOMPARE(info->playableSize, playable);
}

void TestWavReader::brokenImages_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<WavError>("expected");

    const QByteArray good = image({pcmFormat(), samples(10)});

    QTest::newRow("empty") << QByteArray() << WavError::Truncated;
    QTest::newRow("shorter than a header") << good.left(11) << WavError::Truncated;
    QTest::newRow("cut inside the samples") << good.left(good.size() - 3) << WavError::Truncated;
    QTest::newRow("RIFF size past the end") << image({pcmFormat(), samples(10)}, 1000) << WavError::Truncated;
    QTest::newRow("RIFF size too small for WAVE") << image({}, 2) << WavError::Truncated;
    QTest::newRow("not RIFF") << QByteArray("RIFX") + good.mid(4) << WavError::NotRiffWave;
    QTest::newRow("not WAVE") << good.left(8) + QByteArray("AVI ") + good.mid(12) << WavError::NotRiffWave;
    QTest::newRow("data size past the end")
        << image({pcmFormat(), {"data", QByteArray(10, 0), 11}}) << WavError::ChunkPastEnd;
    QTest::newRow("data size near 4 GiB")
        << image({pcmFormat(), {"data", QByteArray(10, 0), 0xfffffff8u}}) << WavError::ChunkPastEnd;
    QTest::newRow("unknown chunk past the end")
        << image({pcmFormat(), {"LIST", QByteArray(4, 0), 400}, samples(4)}) << WavError::ChunkPastEnd;
    QTest::newRow("fmt size past the end") << image({{"fmt ", fmtBody(1, 1, 8000, 8), 64}}) << WavError::ChunkPastEnd;
    QByteArray strayBytes = image({pcmFormat()}) + QByteArray("abcd");
    strayBytes[4] = static_cast<char>(strayBytes[4] + 4); // the RIFF body takes them in
    QTest::newRow("half a chunk header at the end") << strayBytes << WavError::ChunkPastEnd;
    QTest::newRow("odd chunk without its pad byte")
        << image({pcmFormat(), {"junk", QByteArray(3, 'j'), {}, false}, samples(10)}) << WavError::ChunkPastEnd;
    QTest::newRow("no chunks") << image({}) << WavError::MissingFormat;
    QTest::newRow("no fmt") << image({samples(10)}) << WavError::MissingFormat;
    QTest::newRow("data before fmt") << image({samples(10), pcmFormat()}) << WavError::MissingFormat;
    QTest::newRow("no data") << image({pcmFormat(), {"LIST", QByteArray(4, 0)}}) << WavError::MissingData;
    QTest::newRow("zero-length data") << image({pcmFormat(), samples(0)}) << WavError::EmptyData;
    QTest::newRow("less than one frame")
        << image({{"fmt ", fmtBody(1, 2, 8000, 16)}, samples(3)}) << WavError::EmptyData;
    QTest::newRow("short fmt") << image({{"fmt ", fmtBody(1, 1, 8000, 8).left(14)}, samples(4)})
                               << WavError::BadFormat;
    QTest::newRow("extra part longer than fmt")
        << image({{"fmt ", fmtBody(1, 1, 8000, 8, 4)}, samples(4)}) << WavError::BadFormat;
    QTest::newRow("two fmt chunks") << image({pcmFormat(), pcmFormat(), samples(4)}) << WavError::BadFormat;
    QByteArray badAlign = fmtBody(1, 2, 8000, 16);
    badAlign[12] = 2; // block align 2 for four bytes a frame
    QTest::newRow("block align wrong") << image({{"fmt ", badAlign}, samples(8)}) << WavError::BadFormat;
    QByteArray badRate = fmtBody(1, 1, 8000, 8);
    badRate[8] = 1; // byte rate no longer rate * align
    QTest::newRow("byte rate wrong") << image({{"fmt ", badRate}, samples(8)}) << WavError::BadFormat;
    QTest::newRow("zero sample rate") << image({{"fmt ", fmtBody(1, 1, 0, 8)}, samples(4)}) << WavError::BadFormat;
    // rate * align past 32 bits: the byte rate written here is the product
    // cut to 32 bits, which must not pass for the true one.
    QTest::newRow("byte rate wrapped past 4 GiB")
        << image({{"fmt ", fmtBody(1, 2, 0x40000001u, 16)}, samples(8)}) << WavError::BadFormat;
    QTest::newRow("rate beyond what the output takes")
        << image({{"fmt ", fmtBody(1, 1, 0x80000000u, 8)}, samples(4)}) << WavError::UnsupportedFormat;
    QTest::newRow("float samples") << image({{"fmt ", fmtBody(3, 1, 8000, 32)}, samples(8)})
                                   << WavError::UnsupportedFormat;
    QTest::newRow("24-bit") << image({{"fmt ", fmtBody(1, 1, 8000, 24)}, samples(6)}) << WavError::UnsupportedFormat;
    QTest::newRow("no channels") << image({{"fmt ", fmtBody(1, 0, 8000, 8)}, samples(4)})
                                 << WavError::UnsupportedFormat;
    QTest::newRow("six channels") << image({{"fmt ", fmtBody(1, 6, 8000, 8)}, samples(6)})
                                  << WavError::UnsupportedFormat;
}

void TestWavReader::brokenImages()
{
    QFETCH(QByteArray, wav);
    QFETCH(WavError, expected);

    WavError error = WavError::None;
    QVERIFY(!readWav(wav, &error));
    QCOMPARE(error, expected);
}

void TestWavReader::everyCutOfARealSoundIsRefused()
{
    const QByteArray wav = modGame::wavResource(110);
    QVERIFY(!wav.isEmpty());
    for (qsizetype n = 0; n < wav.size(); ++n)
        QVERIFY2(!readWav(QByteArrayView(wav.constData(), n)), qPrintable(QString::number(n)));
}

// Random damage to the header area may be accepted or refused, but what is
// accepted never reaches outside the buffer.
void TestWavReader::corruptHeadersNeverPointOutside()
{
    QRandomGenerator rng(20240601);
    const QByteArray base = image({{"LIST", QByteArray(5, 'x')}, pcmFormat(), samples(64)});
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray wav = base;
        const int hits = 1 + rng.bounded(3);
        for (int h = 0; h < hits; ++h)
            wav[rng.bounded(60)] = static_cast<char>(rng.bounded(256));
        if (const std::optional<WavInfo> info = readWav(wav)) {
            ++accepted;
            QVERIFY(info->dataOffset >= 12);
            QVERIFY(info->playableSize > 0);
            QVERIFY(info->playableSize <= info->dataSize);
            QVERIFY(info->dataOffset + info->dataSize <= wav.size());
            QCOMPARE(info->playableSize % info->blockAlign, 0);
        }
    }
    QVERIFY(accepted > 0); // the damage sometimes spares what matters
}

QTEST_GUILESS_MAIN(TestWavReader)
#include "tst_wavreader.moc"
