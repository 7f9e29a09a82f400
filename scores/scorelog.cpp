// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/scorelog.h"

#include "game/textvalue.h"
#include "scores/players.h"
#include "scores/regularfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include <fcntl.h>
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
    return game.names[i] + QStringLiteral(" : ") + game.histories[i] + QStringLiteral(" = ")
        + game.scoreTexts[i];
}

namespace {

// Whether the file ends in something other than a line end (CR or LF).
bool lastLineOpen(int fd, off_t size)
{
    char last = 0;
    if (size <= 0 || ::pread(fd, &last, 1, size - 1) != 1)
        return false;
    return last != '\n' && last != '\r';
}

// Opens the log for appending, for reading as well where it can be (to
// look at its last byte), without waiting on a pipe.
int openForAppending(const QString &path, QString *reason)
{
    const QByteArray name = QFile::encodeName(path);
    // A device is not even opened (opening some has effects of its own);
    // what is opened is looked at again below, in case it changed.
    struct stat before;
    if (::stat(name.constData(), &before) == 0 && !S_ISREG(before.st_mode) && !S_ISDIR(before.st_mode)) {
        *reason = notRegularReason();
        return -1;
    }
    constexpr int flags = O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = ::open(name.constData(), O_RDWR | flags, 0666);
    if (fd < 0)
        fd = ::open(name.constData(), O_WRONLY | flags, 0666);
    if (fd < 0) {
        const int error = errno;
        struct stat info;
        const bool special = ::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
        *reason = special ? notRegularReason() : systemReason(error);
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        *reason = systemReason(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        *reason = notRegularReason();
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool lockWithin(int fd, int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
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
                                      : game.names[static_cast<size_t>(winner)] + QStringLiteral(" won this game");
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

LogWriter::LogWriter(QString path, int lockWaitMs) : m_path(std::move(path))
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        m_openFailure = QStringLiteral("its folder cannot be created");
        return;
    }
    m_fd = openForAppending(m_path, &m_openFailure);
    if (m_fd >= 0)
        m_locked = lockWithin(m_fd, lockWaitMs);
}

LogWriter::~LogWriter()
{
    if (m_fd >= 0)
        ::close(m_fd); // lets the lock go
}

bool LogWriter::append(const QByteArray &bytes, QString *reason)
{
    if (m_fd < 0) {
        *reason = m_openFailure;
        return false;
    }
    struct stat info;
    if (::fstat(m_fd, &info) != 0) {
        *reason = systemReason(errno);
        return false;
    }
    // A log whose last line has no line end (cut short, or written by
    // something else) gets one first, so that the record still starts on a
    // line of its own. What is stored is never changed.
    const QByteArray record = lastLineOpen(m_fd, info.st_size) ? QByteArrayLiteral("\r\n") + bytes : bytes;
    // One write on a file opened with O_APPEND: a copy of the game that
    // could not get the lock cannot land in the middle of it. Only a short
    // write (a full disk) needs a second.
    qsizetype done = 0;
    off_t start = -1;
    int error = 0;
    while (done < record.size()) {
        const ssize_t n = ::write(m_fd, record.constData() + done, static_cast<size_t>(record.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        if (start < 0)
            start = ::lseek(m_fd, 0, SEEK_CUR) - n;
        done += n;
    }
    if (error == 0 && ::fdatasync(m_fd) != 0)
        error = errno;
    if (error == 0)
        return true;
    // Whatever part of the record went out is taken back, so that the log
    // holds whole records only; without the lock only while nothing was
    // appended after it.
    *reason = systemReason(error);
    if (start >= 0 && (m_locked || (::fstat(m_fd, &info) == 0 && info.st_size == ::lseek(m_fd, 0, SEEK_CUR))) &&
        ::ftruncate(m_fd, start) != 0)
        *reason += QStringLiteral("; the part written could not be taken back (%1)").arg(systemReason(errno));
    return false;
}

bool appendRecord(const QString &path, const QByteArray &bytes, QString *reason)
{
    LogWriter writer(path);
    return writer.append(bytes, reason);
}

QString logWriteWarning(const QString &path, const QString &reason)
{
    return QStringLiteral("This game could not be added to the score log \"%1\": %2.").arg(path, reason);
}

} // namespace scores
