// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/record.h"

#include "game/textvalue.h"
#include "scores/players.h"
#include "scores/regularfile.h"
#include "scores/settingsformat.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <cerrno>

#include <unistd.h>

namespace scores {

namespace {

const QString kSection = QStringLiteral("Highest Record");

// The file holds the group name escaped ("Highest%20Record"); QSettings
// and the format name it as it reads.
QString sectionKey(const QString &key)
{
    return kSection + QLatin1Char('/') + key;
}

// The settings file as it stands on the disk now. QSettings keeps the
// files it has read and trusts an unchanged size and time stamp, which a
// second copy of the game saving in the same millisecond can keep, so the
// record is always read afresh.
struct StoredSettings
{
    bool usable = false;      // missing, or a settings file that reads
    QString reason;           // why it is not usable
    QSettings::SettingsMap map;
};

StoredSettings readStored(const QString &file)
{
    StoredSettings stored;
    const FileContents contents = readRegularFile(file, MaxSettingsBytes);
    switch (contents.result) {
    case FileRead::Missing:
        stored.usable = true;
        break;
    case FileRead::NotRegular:
        stored.reason = notRegularReason();
        break;
    case FileRead::Failed:
        stored.reason = contents.reason;
        break;
    case FileRead::Read:
        if (contents.cut)
            stored.reason = QStringLiteral("the file is too large to be a settings file, and is left as it is");
        else if (!contents.reason.isEmpty())
            stored.reason = contents.reason;
        else if (!readSettings(contents.bytes, stored.map))
            stored.reason = QStringLiteral("the file is not a valid settings file, and is left as it is");
        else
            stored.usable = true;
        break;
    }
    if (!stored.usable)
        stored.map.clear();
    return stored;
}

// QSettings only says "access error". What stood in the way is found by
// doing what it does: a save file beside the settings file holding what
// the save was to write, flushed and synced, never kept. On a full disk
// QSettings fails on its lock file's few bytes before the format is asked
// to write anything, so only writing finds the system's reason.
QString accessProblem(const QString &file, const QSettings::SettingsMap &saved)
{
    QString written = lastSettingsWriteError();
    if (!written.isEmpty())
        return written;
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return QStringLiteral("its folder cannot be created");
    QSaveFile probe(file);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    QByteArray text = writeSettings(saved);
    if (text.isEmpty())
        text = "\n"; // the lock file needs room all the same
    if (probe.write(text) != text.size() || !probe.flush())
        return probe.errorString(); // the save file goes with the probe
    if (::fdatasync(probe.handle()) != 0)
        return systemReason(errno);
    probe.cancelWriting();
    return QStringLiteral("the file cannot be written");
}

// `saved` is what the file is to hold afterwards.
bool synced(QSettings &settings, const QString &file, const QSettings::SettingsMap &saved, QString *reason)
{
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        *reason = accessProblem(file, saved);
        return false;
    case QSettings::FormatError:
        *reason = QStringLiteral("the file is not a valid settings file, and is left as it is");
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
    const QString result =
        winner < 0 ? QString() : game.names[static_cast<size_t>(winner)] + QStringLiteral(" had won the Game.");
    // Stored as the log stores its lines: as typed, control characters as
    // spaces.
    return {logLineText(game.gameEndText), logLineText(playerLine(game, 0)), logLineText(playerLine(game, 1)),
            logLineText(game.differenceText), logLineText(result)};
}

QString recordMessage(const RecordValues &values)
{
    if (values[0].isEmpty())
        return QStringLiteral("NO RECORD FOUND TO DISPLAY");
    QStringList lines{QStringLiteral("        HIGHEST RECORD OF THE GAME"), QString()};
    for (const QString &value : values)
        lines << shownLine(controlsAsSpaces(value));
    return lines.join(QStringLiteral("\r\n"));
}

QString RecordStore::value(const QString &key) const
{
    return settingsText(readStored(m_file).map.value(sectionKey(key)));
}

RecordValues RecordStore::values() const
{
    const StoredSettings stored = readStored(m_file);
    RecordValues values;
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = settingsText(stored.map.value(sectionKey(recordKeys()[i])));
    return values;
}

// QSettings saves (under its lock file, through a save file renamed over
// the old one); a file that is not a readable settings file is refused
// first, and again by the format should it change meanwhile.
bool RecordStore::save(const RecordValues &values, QString *reason) const
{
    const StoredSettings stored = readStored(m_file);
    if (!stored.usable) {
        *reason = stored.reason;
        return false;
    }
    clearSettingsWriteError();
    QSettings settings(m_file, settingsFormat());
    QSettings::SettingsMap saved = stored.map;
    for (size_t i = 0; i < values.size(); ++i) {
        settings.setValue(sectionKey(recordKeys()[i]), values[i]);
        saved.insert(sectionKey(recordKeys()[i]), values[i]);
    }
    return synced(settings, m_file, saved, reason);
}

Removal RecordStore::remove(QString *reason) const
{
    const StoredSettings stored = readStored(m_file);
    if (!stored.usable) {
        *reason = stored.reason;
        return Removal::Failed;
    }
    const QString prefix = kSection + QLatin1Char('/');
    const auto key = stored.map.lowerBound(prefix);
    if (key == stored.map.cend() || !key.key().startsWith(prefix))
        return Removal::NotFound;
    clearSettingsWriteError();
    QSettings settings(m_file, settingsFormat());
    settings.remove(kSection);
    QSettings::SettingsMap saved = stored.map;
    saved.removeIf([&prefix](const auto &entry) { return entry.key().startsWith(prefix); });
    return synced(settings, m_file, saved, reason) ? Removal::Removed : Removal::Failed;
}

QString recordSaveWarning(const QString &file, const QString &reason)
{
    return QStringLiteral("The highest record could not be saved in \"%1\": %2.").arg(file, reason);
}

} // namespace scores
