// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The settings file as the highest record reads it: the fuzz bytes are
// written as the whole file, then the record is read the ways the game
// reads it (the box, and the step after a game that compares differences).
// The format's reader must take any bytes without decoding a typed value,
// and whatever it reads, written out again, reads back as the same texts.

#include "fuzzcheck.h"
#include "scores/players.h"
#include "scores/record.h"
#include "scores/settingsformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QTemporaryDir *folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tavrolin-fuzz-settings.XXXXXX"));
    folder = &dir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QSettings::SettingsMap map;
    if (scores::readSettings(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), map)) {
        QSettings::SettingsMap again;
        FUZZ_CHECK(scores::readSettings(scores::writeSettings(map), again));
        FUZZ_CHECK(again.keys() == map.keys());
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            FUZZ_CHECK(scores::settingsText(again.value(it.key())) == scores::settingsText(it.value()));
    }

    // A new name every time, so that nothing could be carried over from
    // the last input.
    static quint64 round = 0;
    const QString file = folder->filePath(QStringLiteral("tavrolin-%1.conf").arg(++round));
    {
        QFile out(file);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly));
        FUZZ_CHECK(out.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) == qint64(size));
    }

    const scores::RecordStore store(file);
    const scores::RecordValues values = store.values();
    const QString scoreDiff = store.value(scores::recordKeys()[scores::ScoreDiffKey]);
    FUZZ_CHECK(scoreDiff == values[scores::ScoreDiffKey]);

    const QString message = scores::recordMessage(values);
    FUZZ_CHECK(!message.isEmpty());
    // Whatever is stored, a record box has its seven lines, each value on
    // one of them.
    if (!values[0].isEmpty()) {
        FUZZ_CHECK(message.count(QStringLiteral("\r\n")) == 6);
        FUZZ_CHECK(message.contains(scores::shownLine(scores::controlsAsSpaces(values[0]))));
    }

    const int difference = scores::recordDifference(scoreDiff);
    FUZZ_CHECK(scores::replacesRecord(scoreDiff, static_cast<qint16>(difference + 1), QStringLiteral("2")));

    QFile::remove(file);
    return 0;
}
