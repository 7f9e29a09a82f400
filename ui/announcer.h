// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <QWidget>

namespace ui {

// Says a short phrase to screen readers at once, wherever the focus is, and
// shows nothing: an empty widget of no size that screen readers know as a
// notification. Each phrase shows it afresh, and a notification that shows
// is what Orca speaks at once (its name and description). Orca 43 cannot
// speak a change of the focused object's description or name as Qt 6.4
// reports it (Qt sends the object where Orca expects the new text), and
// Qt 6.4 has no announcement of its own.
class Announcer : public QWidget
{
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent);

    void say(const QString &phrase);
    // The phrase said last: what screen readers read from the notification.
    QString phrase() const { return accessibleDescription(); }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ui
