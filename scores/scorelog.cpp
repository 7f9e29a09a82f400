#include "scores/scorelog.h"

#include "game/textvalue.h"
#include "scores/players.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scores {

QString gameEndText(const QDateTime &when)
{
    return QStringLiteral("Scores of Game ending on ") + when.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss"));
}

int winnerIndex(const QString &outcomeText)
{
    const int k = game::textValue(outcomeText);
    return (k == 1 || k == 2) ? k - 1 : -1;
}

QString playerLine(const FinishedGame &game, int player)
{
    const auto i = static_cast<size_t>(player);
    return isolatedName(game.names[i]) + QStringLiteral(" : ") + game.histories[i] + QStringLiteral(" = ")
        + game.scoreTexts[i];
}

namespace {

// Whether the file ends in something other than a line end (CR or LF).
// Only a regular file that can be read back is looked at.
bool lastLineOpen(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0)
        return false;
    char last = 0;
    if (::pread(fd, &last, 1, info.st_size - 1) != 1)
        return false;
    return last != '\n' && last != '\r';
}

} // namespace

QString logLineText(QString text)
{
    return controlsAsSpaces(std::move(text), true);
}

QStringList logLines(const FinishedGame &game)
{
    const int winner = winnerIndex(game.outcomeText);
    const QString result = winner < 0 ? QStringLiteral("Nobody won this game")
                                      : isolatedName(game.names[static_cast<size_t>(winner)])
            + QStringLiteral(" won this game");
    return {game.gameEndText, playerLine(game, 0), playerLine(game, 1), game.differenceText, result, QString()};
}

QByteArray logRecord(const FinishedGame &game)
{
    QByteArray bytes;
    for (const QString &line : logLines(game)) {
        bytes += logLineText(line).toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool appendRecord(const QString &path, const QByteArray &bytes, QString *reason)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        *reason = QStringLiteral("its folder cannot be created");
        return false;
    }
    // Unbuffered, so that the whole record goes out in one write on a file
    // opened with O_APPEND: a second copy of the game appending at the same
    // moment cannot land in the middle of it.
    // Opened for reading as well where it can be, to look at its last byte.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)
        && !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    // A log whose last line has no line end (cut short, or written by
    // something else) gets one first, in the same write, so that the record
    // still starts on a line of its own. What is stored is never changed.
    // Copies of the game take turns here (an advisory lock, released when
    // the file closes): a record being written by another copy may show
    // half-written to a reader, and must not be taken for an open line.
    // Where locks are not to be had, the record is appended all the same.
    (void)::flock(file.handle(), LOCK_EX);
    const QByteArray record = lastLineOpen(file.handle()) ? QByteArrayLiteral("\r\n") + bytes : bytes;
    const qint64 written = file.write(record);
    if (written != record.size()) {
        *reason = written < 0 ? file.errorString() : QStringLiteral("only part of the record was written");
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

QString logWriteWarning(const QString &path, const QString &reason)
{
    return QStringLiteral("This game could not be added to the score log \"%1\": %2.").arg(path, reason);
}

} // namespace scores
