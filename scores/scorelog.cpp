#include "scores/scorelog.h"

#include "game/textvalue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    return game.names[i] + QStringLiteral(" : ") + game.histories[i] + QStringLiteral(" = ") + game.scoreTexts[i];
}

namespace {

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

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
        bytes += oneLine(line).toUtf8();
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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
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
