// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

// Test doubles for the window's seams: they record what the program asked
// and answer what the test scripted.

#include "game/clock.h"
#include "game/random.h"
#include "ui/dialogs.h"

#include <QDateTime>
#include <QList>
#include <QQueue>
#include <QString>

namespace testing {

struct ShownMessage
{
    QString text;
    ui::Dialogs::Icon icon;
    ui::Dialogs::Buttons buttons;
    QString title; // as asked; empty means the application title
};

struct ShownPrompt
{
    QString prompt;
    QString title;
};

class FakeDialogs final : public ui::Dialogs
{
public:
    Answer message(const QString &text, Icon icon, Buttons buttons, const QString &title) override;
    QString prompt(const QString &promptText, const QString &title) override;

    QList<ShownMessage> messages;
    QList<ShownPrompt> prompts;
    QQueue<Answer> answers;        // for Yes/No boxes; Yes when empty
    QQueue<QString> promptAnswers; // typed texts; empty (Cancel) when none left
};

class FakeClock final : public game::Clock
{
public:
    float secondsSinceMidnight() const override { return seconds; }
    QDateTime now() const override { return dateTime; }

    float seconds = 0.0f;
    QDateTime dateTime = QDateTime(QDate(2026, 3, 7), QTime(21, 5, 3));
};

// Answers scripted fractions in turn, then repeats the last one.
class FakeRandom final : public game::RandomSource
{
public:
    float next() override;

    QQueue<float> fractions;
    float last = 0.0f;
    int calls = 0;
};

} // namespace testing
