// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace ui {

namespace {

class AccessibleAnnouncer final : public QAccessibleWidget
{
public:
    explicit AccessibleAnnouncer(QWidget *w) : QAccessibleWidget(w, QAccessible::Notification) {}
};

QAccessibleInterface *accessibleAnnouncer(const QString &className, QObject *object)
{
    if (className != QLatin1String(Announcer::staticMetaObject.className()))
        return nullptr;
    auto *announcer = qobject_cast<Announcer *>(object);
    return announcer ? new AccessibleAnnouncer(announcer) : nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleAnnouncer);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setVisible(false);
}

void Announcer::say(const QString &phrase)
{
    // Hidden and shown again, so that a screen reader hears every phrase,
    // even one said twice.
    setVisible(false);
    setAccessibleDescription(phrase);
    setVisible(true);
}

void Announcer::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event); // nothing to see
}

} // namespace ui
