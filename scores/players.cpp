// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "scores/players.h"

#include <QRegularExpression>
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

namespace {

bool rightToLeft(char32_t c)
{
    const QChar::Direction d = QChar::direction(c);
    return d == QChar::DirR || d == QChar::DirAL;
}

// Letters that set a run left to right; digits and punctuation do not.
bool leftToRight(char32_t c)
{
    return QChar::direction(c) == QChar::DirL;
}

} // namespace

bool needsIsolation(QStringView text)
{
    // Everything below Hebrew is left-to-right or neutral, and no mark.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x0590)
            continue;
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (turnsDirection(c) || rightToLeft(pair ? QChar::surrogateToUcs4(c, text[i + 1].unicode()) : c))
            return true;
    }
    return false;
}

namespace {

// Each run of right-to-left text isolated, the text's own isolates closed
// at its end; what follows stays in the line's direction.
QString runsIsolated(const QString &text)
{
    constexpr char16_t RLI = 0x2067, PDI = 0x2069;
    QString out;
    out.reserve(text.size() + 8);
    bool inRun = false;
    QString pending; // neutrals after the run's last right-to-left letter
    int open = 0;    // isolates the text itself opened
    auto closeRun = [&] {
        if (inRun)
            out += QChar(PDI);
        inRun = false;
        out += pending;
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const qsizetype width = pair ? 2 : 1;
        const QStringView unit = QStringView(text).sliced(i, width);
        i += width;
        if (c <= 0xFFFF && turnsDirection(char16_t(c))) {
            closeRun();
            if (c >= 0x2066 && c <= 0x2068)
                ++open;
            else if (c == PDI && open == 0)
                continue; // would close the line's own isolate
            else if (c == PDI)
                --open;
            out += unit;
        } else if (rightToLeft(c)) {
            if (!inRun)
                out += QChar(RLI);
            inRun = true;
            out += pending;
            pending.clear();
            out += unit;
        } else if (leftToRight(c) || !inRun) {
            closeRun();
            out += unit;
        } else {
            pending += unit;
        }
    }
    closeRun();
    out += QString(open, QChar(PDI));
    return out;
}

} // namespace

QString shownLine(QStringView stored)
{
    QString text = stored.toString();
    if (!needsIsolation(text))
        return text;
    // A line the game writes around a name (a player's line, a winner's
    // line) has the name isolated, so that marks it leaves open end with
    // it; any other line has its right-to-left runs isolated.
    static const QRegularExpression named(QStringLiteral(
        "^(.*)( : (?:\\+\\(-?\\d+\\))* = -?\\d+| won this game| had won the Game\\.)$"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = named.match(text);
    const QString inner = match.hasMatch() ? isolatedName(match.captured(1)) + match.captured(2) : runsIsolated(text);
    return QChar(0x2066) + inner + QChar(0x2069); // left-to-right isolate ... pop
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
