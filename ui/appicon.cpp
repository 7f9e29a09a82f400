// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/appicon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace ui {

namespace {

// The window system carries window icons up to 128 pixels (X11 drops
// larger ones after they were decoded for nothing); the 256-pixel picture
// is for the desktop's menus and software centres, from the installed theme.
constexpr std::array<int, 5> kIconSizes = {16, 32, 48, 64, 128};

QString iconFile(int size)
{
    return QStringLiteral(":/desktop/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(desktopId());
}

// Decodes a size's picture only when it is first asked for: the window
// system takes the small ones when the window is shown, and the large ones
// may never be wanted, so start-up does not pay for them.
class DieIconEngine : public QIconEngine
{
public:
    QIconEngine *clone() const override { return new DieIconEngine(*this); }

    QList<QSize> availableSizes(QIcon::Mode = QIcon::Normal, QIcon::State = QIcon::Off) override
    {
        QList<QSize> sizes;
        for (int size : kIconSizes)
            sizes << QSize(size, size);
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {std::min(side, kIconSizes.back()), std::min(side, kIconSizes.back())};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize wanted = actualSize(size, mode, state);
        // The smallest picture at least as large as asked, else the largest.
        size_t index = kIconSizes.size() - 1;
        for (size_t i = 0; i < kIconSizes.size(); ++i) {
            if (kIconSizes[i] >= wanted.width()) {
                index = i;
                break;
            }
        }
        QPixmap &picture = m_pictures[index];
        if (picture.isNull())
            picture = QPixmap(iconFile(kIconSizes[index]));
        if (picture.size() == wanted || wanted.isEmpty())
            return picture;
        return picture.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QString key() const override { return QStringLiteral("tavrolin-die"); }

private:
    std::array<QPixmap, kIconSizes.size()> m_pictures;
};

} // namespace

QString desktopId()
{
    return QStringLiteral("example.ormandi.Tavrolin");
}

QIcon appIcon()
{
    return QIcon(new DieIconEngine);
}

} // namespace ui
