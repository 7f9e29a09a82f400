#include "scores/players.h"

#include <QTextBoundaryFinder>

#include <algorithm>

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

namespace {

// Embeddings, overrides and isolates: marks that turn the direction of the
// text after them, up to the end of the paragraph.
bool turnsDirection(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

bool holdsDirectionMarks(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return turnsDirection(c.unicode()); });
}

QString isolatedName(const QString &name)
{
    const bool rightToLeft = std::any_of(name.begin(), name.end(), [](QChar c) {
        return c.direction() == QChar::DirR || c.direction() == QChar::DirAL;
    });
    if (!rightToLeft && !holdsDirectionMarks(name))
        return name;
    // Isolates the name opens and leaves open are closed first, so that the
    // last mark closes the name's own isolate and with it every embedding.
    int open = 0;
    for (const QChar c : name) {
        if (c.unicode() >= 0x2066 && c.unicode() <= 0x2068)
            ++open;
        else if (c.unicode() == 0x2069 && open > 0)
            --open;
    }
    return QChar(0x2068) + name + QString(open + 1, QChar(0x2069)); // first strong isolate ... pop
}

QString controlsAsSpaces(QString text, bool keepTabs)
{
    for (QChar &c : text) {
        const bool control = c.category() == QChar::Other_Control && !(keepTabs && c == QLatin1Char('\t'));
        if (control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}

QString shownOnOneLine(const QString &text)
{
    return isolatedName(controlsAsSpaces(text));
}

QString firstCharacters(const QString &text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

QString playerMenuCaption(const QString &name)
{
    QString caption = shownOnOneLine(name);
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    return caption + QStringLiteral(" - Change");
}

QString scoreHeading(const QString &name)
{
    return shownOnOneLine(firstCharacters(name, 7).toUpper()) + QStringLiteral("'s SCORE");
}

} // namespace scores
