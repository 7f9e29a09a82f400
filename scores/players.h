// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <QStringView>

namespace scores {

// The prompt asking player 0 or 1 for a name, and its title.
QString namePrompt(int player);
QString namePromptTitle();

// Two names clash when they are equal in upper case.
bool namesClash(const QString &answer, const QString &otherName);

// The refusal of a name that clashes with the other player's.
QString nameRefusal(const QString &otherName);

// "<name> - Change", with the name's ampersands shown as typed rather than
// taken as access keys, and the name shown on one line.
QString playerMenuCaption(const QString &name);

// The first seven characters of the name in upper case, then "'s SCORE",
// the name shown on one line. A character is what the reader sees as one:
// an emoji or a letter with its accents is never cut in two.
QString scoreHeading(const QString &name);

// Whether the text holds marks that turn the direction of what follows
// them (embeddings, overrides, isolates).
bool holdsDirectionMarks(QStringView text);

// The name as it stands within a line of text: as typed, but a name with
// right-to-left letters or direction marks is isolated (between U+2068 and
// U+2069) so that it cannot turn what the line says after it.
QString isolatedName(const QString &name);

// The text with its control characters (all but tabs, with keepTabs) and
// its line and paragraph separators turned into spaces.
QString controlsAsSpaces(QString text, bool keepTabs = false);

// Text typed by a player as one line of a caption or box shows it: control
// characters (line breaks, tabs, escapes) become spaces, and the text is
// isolated as isolatedName does.
QString shownOnOneLine(const QString &text);

// A line of stored text (a log line, a value of the highest record) as it
// is shown: set out left to right
// whatever it holds. Each run of right-to-left text in it is isolated (a
// Hebrew name cannot draw the " : +(3) = 5" after it into its run), and
// so is the line as a whole, so that direction marks stored in it end
// with it. A line without right-to-left letters or marks stays as it is.
QString shownLine(QStringView text);

// Whether shownLine would change the line's direction handling at all.
bool needsIsolation(QStringView text);

// The first `count` characters (grapheme clusters) of the text.
QString firstCharacters(const QString &text, int count);

} // namespace scores
