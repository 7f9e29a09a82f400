// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/regularfile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scores {

QString notRegularReason()
{
    return QStringLiteral("it is not a regular file");
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

FileContents readRegularFile(const QString &path, qint64 maxBytes)
{
    FileContents contents;
    // A device is not even opened (opening some has effects of its own);
    // what is opened is looked at again, in case it changed meanwhile.
    struct stat before;
    if (::stat(QFile::encodeName(path).constData(), &before) == 0 && !S_ISREG(before.st_mode)) {
        contents.result = FileRead::NotRegular;
        contents.reason = notRegularReason();
        return contents;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        contents.result = errno == ENOENT ? FileRead::Missing : FileRead::Failed;
        contents.reason = systemReason(errno);
        return contents;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        contents.result = FileRead::NotRegular;
        contents.reason = notRegularReason();
        ::close(fd);
        return contents;
    }
    // Sized by what fstat says, but read until the end or the bound: the
    // file may grow or shrink meanwhile.
    contents.bytes.reserve(static_cast<qsizetype>(std::min<qint64>(info.st_size, maxBytes)));
    contents.result = FileRead::Read;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 room = maxBytes - contents.bytes.size();
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(std::min<qint64>(room + 1, sizeof buffer)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            contents.result = contents.bytes.isEmpty() ? FileRead::Failed : FileRead::Read;
            contents.reason = systemReason(errno);
            break;
        }
        if (n == 0)
            break;
        if (n > room) {
            contents.bytes.append(buffer, static_cast<qsizetype>(room));
            contents.cut = true;
            break;
        }
        contents.bytes.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
    return contents;
}

} // namespace scores
