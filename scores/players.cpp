#include "scores/players.h"

namespace scores {

QString namePrompt(int player)
{
    return player == 0 ? QStringLiteral("ENTER FIRST PLAYER NAME") : QStringLiteral("ENTER SECOND PLAYER NAME");
}

QString namePromptTitle()
{
    return QStringLiteral("Play Tavrolin");
}

bool namesClash(const QString &answer, const QString &otherName)
{
    return answer.toUpper() == otherName.toUpper();
}

QString nameRefusal(const QString &otherName)
{
    return QStringLiteral("Player name must be other than ") + otherName + QLatin1Char('.');
}

QString playerMenuCaption(const QString &name)
{
    QString caption = name;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    return caption + QStringLiteral(" - Change");
}

QString scoreHeading(const QString &name)
{
    return name.left(7).toUpper() + QStringLiteral("'s SCORE");
}

} // namespace scores
