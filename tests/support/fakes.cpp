// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/fakes.h"

namespace testing {

ui::Dialogs::Answer FakeDialogs::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    messages.append({text, icon, buttons, title});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::Yes : answers.dequeue();
}

QString FakeDialogs::prompt(const QString &promptText, const QString &title)
{
    prompts.append({promptText, title});
    return promptAnswers.isEmpty() ? QString() : promptAnswers.dequeue();
}

float FakeRandom::next()
{
    ++calls;
    if (!fractions.isEmpty())
        last = fractions.dequeue();
    return last;
}

} // namespace testing
