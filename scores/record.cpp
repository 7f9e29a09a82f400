#include "scores/record.h"

#include "game/textvalue.h"
#include "scores/players.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace scores {

namespace {

const QString kSection = QStringLiteral("Highest Record");

// QSettings escapes the space in the group name on disk ("Highest%20Record")
// and unescapes it on reading, so the name is always given as it reads.
QString sectionKey(const QString &key)
{
    return kSection + QLatin1Char('/') + key;
}

// A value edited by hand may hold an unquoted comma, which QSettings reads
// as a list; show it as it stands in the file.
QString text(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// QSettings only says "access error"; find out what stood in the way.
QString accessProblem(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return QStringLiteral("its folder cannot be created");
    QFile probe(file);
    if (!probe.open(QIODevice::ReadWrite))
        return probe.errorString();
    return QStringLiteral("the file cannot be written");
}

int digitValue(char c, int base)
{
    const int value = c >= '0' && c <= '9' ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    return value < base ? value : -1;
}

// The game stores plain text, which QSettings writes with "@" doubled at the
// start of a value and escapes only for control characters. A file that
// holds a value in QSettings' binary form ("@Variant(...)", "@DateTime(...)",
// spelt out or hidden behind escapes) was not
// written by the game, and decoding one can ask for gigabytes: such a file
// is neither read nor written over.
bool foreignEncoding(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray raw = in.readAll();
    // The text with numeric escapes (\\xHHHH, \\OOO) spelt out, as far as it
    // matters here: characters beyond ASCII become '?'.
    QByteArray text;
    text.reserve(raw.size());
    for (qsizetype at = 0; at < raw.size(); ++at) {
        const bool hex = raw[at] == '\\' && at + 1 < raw.size() && raw[at + 1] == 'x';
        const bool octal = raw[at] == '\\' && at + 1 < raw.size() && digitValue(raw[at + 1], 8) >= 0;
        if (!hex && !octal) {
            text += raw[at];
            continue;
        }
        const int base = hex ? 16 : 8;
        qsizetype i = hex ? at + 2 : at + 1;
        uint code = 0;
        for (const qsizetype end = i + (hex ? 4 : 3); i < raw.size() && i < end && digitValue(raw[i], base) >= 0; ++i)
            code = code * static_cast<uint>(base) + static_cast<uint>(digitValue(raw[i], base));
        text += code < 0x80 ? static_cast<char>(code) : '?';
        at = i - 1;
    }
    for (const char *tag : {"@Variant(", "@DateTime("}) {
        for (qsizetype at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, at + 1)) {
            if (at == 0 || text[at - 1] != '@')
                return true;
        }
    }
    return false;
}

const QString kForeignReason = QStringLiteral("the file holds values the game never writes, and is left as it is");

// QSettings writes back only what it could read, so a file it cannot read
// would lose everything else it holds: such a file is left as it is.
// QSettings keeps files it has read and does not read them again while
// they stay the same, and only a fresh read reports a bad format, so a copy
// under a new name is read instead.
bool readable(const QString &file, QString *reason)
{
    if (!QFileInfo(file).isFile())
        return true;
    if (foreignEncoding(file)) {
        *reason = kForeignReason;
        return false;
    }
    const QTemporaryDir folder;
    const QString copy = folder.path() + QStringLiteral("/check.conf");
    if (!folder.isValid() || !QFile::copy(file, copy))
        return true; // what stands in the way shows when the file is written
    const QSettings check(copy, QSettings::IniFormat);
    (void)check.childGroups(); // reads the copy
    if (check.status() != QSettings::FormatError)
        return true;
    *reason = QStringLiteral("the file is not a valid settings file, and is left as it is");
    return false;
}

bool synced(QSettings &settings, const QString &file, QString *reason)
{
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        *reason = accessProblem(file);
        return false;
    case QSettings::FormatError:
        *reason = QStringLiteral("the file is not a valid settings file");
        return false;
    }
    return false;
}

} // namespace

const std::array<QString, 5> &recordKeys()
{
    static const std::array<QString, 5> keys{QStringLiteral("GameTime"), QStringLiteral("Player1"),
                                             QStringLiteral("Player2"), QStringLiteral("ScoreDiff"),
                                             QStringLiteral("GameResult")};
    return keys;
}

qint16 recordDifference(const QString &scoreDiffText)
{
    return game::textValue(QStringView(scoreDiffText).mid(19, 3));
}

bool replacesRecord(const QString &storedScoreDiff, qint16 difference, const QString &outcomeText)
{
    return winnerIndex(outcomeText) >= 0 && recordDifference(storedScoreDiff) < difference;
}

RecordValues recordValues(const FinishedGame &game)
{
    const int winner = winnerIndex(game.outcomeText);
    const QString result = winner < 0 ? QString()
                                      : isolatedName(game.names[static_cast<size_t>(winner)])
            + QStringLiteral(" had won the Game.");
    return {game.gameEndText, playerLine(game, 0), playerLine(game, 1), game.differenceText, result};
}

QString recordMessage(const RecordValues &values)
{
    if (values[0].isEmpty())
        return QStringLiteral("NO RECORD FOUND TO DISPLAY");
    QStringList lines{QStringLiteral("        HIGHEST RECORD OF THE GAME"), QString()};
    for (const QString &value : values)
        lines << shownOnOneLine(value);
    return lines.join(QStringLiteral("\r\n"));
}

QString RecordStore::value(const QString &key) const
{
    if (foreignEncoding(m_file))
        return {};
    const QSettings settings(m_file, QSettings::IniFormat);
    return text(settings.value(sectionKey(key), QString()));
}

RecordValues RecordStore::values() const
{
    RecordValues values;
    if (foreignEncoding(m_file))
        return values;
    const QSettings settings(m_file, QSettings::IniFormat);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = text(settings.value(sectionKey(recordKeys()[i]), QString()));
    return values;
}

bool RecordStore::save(const RecordValues &values, QString *reason) const
{
    if (!readable(m_file, reason))
        return false;
    QSettings settings(m_file, QSettings::IniFormat);
    for (size_t i = 0; i < values.size(); ++i)
        settings.setValue(sectionKey(recordKeys()[i]), values[i]);
    return synced(settings, m_file, reason);
}

Removal RecordStore::remove(QString *reason) const
{
    if (!readable(m_file, reason))
        return Removal::Failed;
    QSettings settings(m_file, QSettings::IniFormat);
    if (!settings.childGroups().contains(kSection))
        return Removal::NotFound;
    settings.remove(kSection);
    return synced(settings, m_file, reason) ? Removal::Removed : Removal::Failed;
}

QString recordSaveWarning(const QString &file, const QString &reason)
{
    return QStringLiteral("The highest record could not be saved in \"%1\": %2.").arg(file, reason);
}

} // namespace scores
