// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/settingsformat.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace scores {

namespace {

// ---- keys and section names: "%20" and "%U20AC" escapes, "\" for "/" ----

int hexValue(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString unescapedKey(QByteArrayView raw)
{
    const QString key = QString::fromUtf8(raw);
    QString out;
    out.reserve(key.size());
    for (qsizetype i = 0; i < key.size();) {
        const char16_t c = key[i].unicode();
        if (c == '\\') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        const qsizetype first = (c == '%' && i + 1 < key.size() && key[i + 1] == u'U') ? i + 2 : i + 1;
        const int digits = first == i + 2 ? 4 : 2;
        char16_t code = 0;
        bool ok = c == '%' && first + digits <= key.size();
        for (int d = 0; ok && d < digits; ++d) {
            const int h = hexValue(key[first + d].unicode());
            ok = h >= 0;
            code = static_cast<char16_t>(code * 16 + h);
        }
        if (!ok) {
            out += key[i];
            ++i;
            continue;
        }
        out += QChar(code);
        i = first + digits;
    }
    return out;
}

void appendEscapedKey(const QString &key, QByteArray &out)
{
    static const char hex[] = "0123456789ABCDEF";
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        // A "\" last would join the "=" after it to the key.
        if (c == '/' && i + 1 < key.size()) {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                   || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hex[c / 16];
            out += hex[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hex[(c >> shift) & 0xF];
        }
    }
}

// ---- values: quotes, backslash escapes, "@@" for a leading "@" ----

void chopTrailingSpaces(QString &text, qsizetype limit)
{
    qsizetype end = text.size();
    while (end > limit && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    text.truncate(end);
}

int octalValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The text of a value as QSettings' INI reader gives it, except that an
// unquoted comma is part of the text (QSettings would make a list of it).
QString unescapedValue(QByteArrayView raw)
{
    QString out;
    out.reserve(raw.size());
    // One decoder for the whole value, so that a byte order mark after an
    // escape is a character like any other.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    qsizetype i = 0;
    auto skipSpaces = [&] {
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
    };
    skipSpaces();
    bool quoted = false;
    bool everQuoted = false;
    qsizetype chopLimit = 0; // trailing spaces up to here came from escapes or quotes
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            ++i;
            if (i >= raw.size())
                break;
            const char e = raw[i++];
            static const char codes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},  {'r', '\r'}, {'t', '\t'},
                                            {'v', '\v'}, {'"', '"'},  {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
            bool simple = false;
            for (const auto &code : codes) {
                if (e == code[0]) {
                    out += QLatin1Char(code[1]);
                    simple = true;
                    break;
                }
            }
            if (!simple) {
                const bool hex = e == 'x';
                int base = hex ? 16 : 8;
                int digit = hex ? (i < raw.size() ? hexValue(uchar(raw[i])) : -1) : octalValue(e);
                if (digit >= 0) {
                    char16_t code = hex ? 0 : char16_t(digit);
                    if (hex) {
                        code = char16_t(digit);
                        ++i;
                    }
                    while (i < raw.size()) {
                        digit = hex ? hexValue(uchar(raw[i])) : octalValue(raw[i]);
                        if (digit < 0)
                            break;
                        code = char16_t(code * base + digit);
                        ++i;
                    }
                    out += QChar(code);
                } else if ((e == '\n' || e == '\r') && i < raw.size() && (raw[i] == '\n' || raw[i] == '\r')
                           && raw[i] != e) {
                    ++i; // a line continued after CR LF or LF CR
                }
                // any other escaped character is dropped, as QSettings does
            }
            chopLimit = out.size();
            continue;
        }
        if (c == '"') {
            ++i;
            quoted = !quoted;
            everQuoted = true;
            if (!quoted) {
                skipSpaces();
                chopLimit = out.size();
            }
            continue;
        }
        qsizetype end = i + 1;
        while (end < raw.size() && raw[end] != '\\' && raw[end] != '"')
            ++end;
        out += utf8.decode(raw.sliced(i, end - i));
        i = end;
    }
    if (!everQuoted)
        chopTrailingSpaces(out, chopLimit);
    // The typed forms QSettings writes for texts: a leading "@" doubled, and
    // a text with NUL characters in "@String(...)". Every other form stays
    // the text it is.
    if (out.startsWith(QLatin1String("@@")))
        out.remove(0, 1);
    else if (out.startsWith(QLatin1String("@String(")) && out.endsWith(QLatin1Char(')')))
        out = out.sliced(8).chopped(1);
    return out;
}

void appendEscapedValue(QString text, QByteArray &out)
{
    if (text.contains(QChar::Null))
        text = QStringLiteral("@String(") + text + QLatin1Char(')');
    else if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    qsizetype runStart = 0; // text not yet written, copied as UTF-8 in one go
    auto flush = [&](qsizetype upTo) {
        if (upTo > runStart)
            out += QStringView(text).sliced(runStart, upTo - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        const char *escape = nullptr;
        switch (c) {
        case '\0': escape = "\\0"; break;
        case '\a': escape = "\\a"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        case '\v': escape = "\\v"; break;
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        default: break;
        }
        // After a numeric escape, hex digits are escaped too: the reader
        // would take them as part of it.
        if (escapeNextIfHex && hexValue(c) >= 0) {
            flush(i);
            runStart = i + 1;
            out += "\\x" + QByteArray::number(uint(c), 16);
            continue;
        }
        escapeNextIfHex = false;
        // A byte order mark is escaped too (a reader may drop one that
        // begins its text), and so is half a surrogate pair, which UTF-8
        // cannot carry (an escape can make one).
        const bool paired = (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                            || (QChar::isLowSurrogate(c) && i > 0 && text[i - 1].isHighSurrogate());
        if (escape == nullptr && c > 0x1F && c != 0xFEFF && (!QChar::isSurrogate(c) || paired))
            continue; // copied with its run, as UTF-8
        flush(i);
        runStart = i + 1;
        if (escape != nullptr) {
            out += escape;
            escapeNextIfHex = c == '\0';
        } else {
            out += "\\x" + QByteArray::number(uint(c), 16);
            escapeNextIfHex = true;
        }
    }
    flush(text.size());
    if (needsQuotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

// Whether a value as it stood in its file ends outside quotes and escapes,
// so that it can stand before a line end again unchanged. A file that ends
// inside a quoted value would otherwise take the lines after it in.
bool selfContained(QByteArrayView raw)
{
    bool quoted = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\') {
            if (++i == raw.size())
                return false; // would join the next line on
        } else if (raw[i] == '"') {
            quoted = !quoted;
        }
    }
    // A line end last was escaped: it would join the next line on.
    return !quoted && !raw.endsWith('\n') && !raw.endsWith('\r');
}

// ---- lines: as QSettings splits them ----

struct Line
{
    QByteArrayView text;
    qsizetype equals = -1; // the first "=" outside quotes, within text
};

// The next line from `at`, skipping empty lines and ";" comments. Quotes
// may hold line ends; a backslash joins the next character (and a line
// end) to the line; an unquoted ";" ends it.
bool nextLine(QByteArrayView data, qsizetype &at, Line &line)
{
    const qsizetype n = data.size();
    for (;;) {
        while (at < n && (data[at] == ' ' || data[at] == '\t' || data[at] == '\n' || data[at] == '\r'))
            ++at;
        if (at >= n)
            return false;
        if (data[at] != ';')
            break;
        while (at < n && data[at] != '\n' && data[at] != '\r')
            ++at;
    }
    const qsizetype start = at;
    bool quoted = false;
    line.equals = -1;
    while (at < n) {
        const char c = data[at];
        if ((c == '\n' || c == '\r' || c == ';') && !quoted)
            break;
        ++at;
        if (c == '=' && !quoted && line.equals < 0) {
            line.equals = at - 1 - start;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && at < n) {
            const char next = data[at++];
            if (at < n && ((next == '\n' && data[at] == '\r') || (next == '\r' && data[at] == '\n')))
                ++at;
        }
    }
    line.text = data.sliced(start, at - start);
    return true;
}

// ---- what the registered functions share with the store ----

QMutex stateMutex;
QSet<QString> unreadableFiles;    // guarded by stateMutex
thread_local QString writeError; // of this thread's last save

QString deviceFile(QIODevice &device)
{
    const auto *file = qobject_cast<QFileDevice *>(&device);
    return file ? QFileInfo(file->fileName()).absoluteFilePath() : QString();
}

bool readFunction(QIODevice &device, QSettings::SettingsMap &map)
{
    const QString file = deviceFile(device);
    bool ok = device.size() <= MaxSettingsBytes;
    if (ok) {
        const QByteArray data = device.read(MaxSettingsBytes + 1);
        ok = data.size() <= MaxSettingsBytes && readSettings(data, map);
    }
    const QMutexLocker lock(&stateMutex);
    if (ok)
        unreadableFiles.remove(file);
    else
        unreadableFiles.insert(file);
    return ok;
}

// QSettings writes into a QSaveFile and renames it over the file only when
// this returns true. It is flushed and synced here, so that a full disk is
// found (and named) before anything replaces the file.
bool writeFunction(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QString file = deviceFile(device);
    {
        const QMutexLocker lock(&stateMutex);
        if (unreadableFiles.contains(file)) {
            writeError = QStringLiteral("the file is not a valid settings file, and is left as it is");
            return false;
        }
    }
    const QByteArray text = writeSettings(map);
    auto *fileDevice = qobject_cast<QFileDevice *>(&device);
    if (device.write(text) != text.size() || (fileDevice && !fileDevice->flush())) {
        writeError = device.errorString();
        return false;
    }
    if (fileDevice && fileDevice->handle() >= 0 && ::fdatasync(fileDevice->handle()) != 0) {
        writeError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

QSettings::Format settingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), readFunction, writeFunction, Qt::CaseSensitive);
    return format;
}

bool readSettings(QByteArrayView data, QSettings::SettingsMap &map)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QString section; // "" or "Name/"
    qsizetype at = 0;
    Line line;
    bool ok = true;
    while (nextLine(data, at, line)) {
        if (line.text.startsWith('[')) {
            qsizetype close = line.text.indexOf(']');
            if (close < 0) {
                ok = false;
                close = line.text.size();
            }
            const QByteArrayView name = line.text.sliced(1, close - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.sliced(1)) + QLatin1Char('/');
            else
                section = unescapedKey(name) + QLatin1Char('/');
            continue;
        }
        if (line.equals < 0) {
            ok = false;
            continue;
        }
        // Named the way QSettings names keys: no empty parts between
        // slashes, none first or last.
        const QString key = (section + unescapedKey(line.text.first(line.equals).trimmed()))
                                .split(QLatin1Char('/'), Qt::SkipEmptyParts)
                                .join(QLatin1Char('/'));
        map.insert(key, line.text.sliced(line.equals + 1).toByteArray());
    }
    return ok;
}

QByteArray writeSettings(const QSettings::SettingsMap &map)
{
    // Keys without a section first, under [General], then each section;
    // QSettings' INI writer splits a key at its first "/" in the same way.
    QMap<QString, QList<QPair<QString, QVariant>>> sections;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        sections[section].append({slash < 0 ? it.key() : it.key().mid(slash + 1), it.value()});
    }
    QByteArray out;
    for (auto it = sections.constBegin(); it != sections.constEnd(); ++it) {
        if (!out.isEmpty())
            out += '\n';
        QByteArray name;
        appendEscapedKey(it.key(), name);
        if (name.isEmpty())
            name = "General";
        else if (name.compare("general", Qt::CaseInsensitive) == 0)
            name.prepend('%');
        out += '[' + name + "]\n";
        for (const auto &[key, value] : it.value()) {
            appendEscapedKey(key, out);
            out += '=';
            if (value.typeId() == QMetaType::QByteArray && selfContained(value.toByteArray()))
                out += value.toByteArray(); // as it stood in the file
            else if (value.typeId() == QMetaType::QByteArray)
                appendEscapedValue(settingsText(value), out);
            else
                appendEscapedValue(value.toString(), out);
            out += '\n';
        }
    }
    return out;
}

QString settingsText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray)
        return unescapedValue(value.toByteArray());
    return value.toString();
}

QString lastSettingsWriteError()
{
    return writeError;
}

void clearSettingsWriteError()
{
    writeError.clear();
}

} // namespace scores
