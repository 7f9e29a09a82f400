// The settings file as the highest record reads it: the fuzz bytes are
// written as the whole file, then the record is read the ways the game
// reads it (the box, and the step after a game that compares differences).

#include "fuzzcheck.h"
#include "scores/players.h"
#include "scores/record.h"

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
    // A new name every time: QSettings keeps files it has read and trusts
    // an unchanged size and time stamp, which a rewrite in the same
    // millisecond could keep.
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
        FUZZ_CHECK(message.contains(scores::shownOnOneLine(values[0])));
    }

    const int difference = scores::recordDifference(scoreDiff);
    FUZZ_CHECK(scores::replacesRecord(scoreDiff, static_cast<qint16>(difference + 1), QStringLiteral("2")));

    QFile::remove(file);
    return 0;
}
