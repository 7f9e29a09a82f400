// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QPlainTextEdit>

namespace ui {

// The score board's text box; a double-click on it asks to hide the board.
class BoardText : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit BoardText(QWidget *parent) : QPlainTextEdit(parent) {}

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace ui
