// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

class QWidget;

namespace ui {

// Message boxes and the text prompt. The window asks through this seam so
// that tests can answer for the players.
class Dialogs
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;

    // Shows a modal message box. An empty title shows the application title.
    virtual Answer message(const QString &text, Icon icon, Buttons buttons = Buttons::Ok,
                           const QString &title = QString()) = 0;

    // Shows a modal text prompt with an empty field; Cancel answers the
    // empty text.
    virtual QString prompt(const QString &promptText, const QString &title) = 0;
};

// The application title every untitled box shows.
QString applicationTitle();

// The real boxes, parented to the given window.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent) : m_parent(parent) {}
    Answer message(const QString &text, Icon icon, Buttons buttons, const QString &title) override;
    QString prompt(const QString &promptText, const QString &title) override;

private:
    QWidget *m_parent;
};

} // namespace ui
