#pragma once

#include <QString>

namespace scores {

// The prompt asking player 0 or 1 for a name, and its title.
QString namePrompt(int player);
QString namePromptTitle();

// Two names clash when they are equal in upper case.
bool namesClash(const QString &answer, const QString &otherName);

// The refusal of a name that clashes with the other player's.
QString nameRefusal(const QString &otherName);

// "<name> - Change", with the name's ampersands shown as typed rather than
// taken as access keys.
QString playerMenuCaption(const QString &name);

// The first seven characters of the name in upper case, then "'s SCORE".
QString scoreHeading(const QString &name);

} // namespace scores
