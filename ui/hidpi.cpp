// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/hidpi.h"

#include <QGuiApplication>
#include <QImage>
#include <QtMath>

namespace ui {

qreal pictureScale()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QString doubledName(const QString &resource)
{
    const qsizetype dot = resource.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = resource.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash)
        return resource + QStringLiteral("@2x");
    return resource.left(dot) + QStringLiteral("@2x") + resource.mid(dot);
}

QPixmap loadPicture(const QString &resource, qreal scale)
{
    if (scale <= 1.0)
        return QPixmap(resource);
    QImage doubled(doubledName(resource));
    if (doubled.isNull())
        return QPixmap(resource);
    if (!qFuzzyCompare(scale, 2.0)) {
        // Reduce (or, above 2, enlarge) the doubled drawing to the screen's
        // own pixels, so the painter has nothing left to scale.
        const QSize natural = doubled.size() / 2;
        const QSize device(qCeil(natural.width() * scale - 0.01), qCeil(natural.height() * scale - 0.01));
        doubled = doubled.convertToFormat(QImage::Format_ARGB32)
                      .scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QPixmap pixmap = QPixmap::fromImage(doubled);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QCursor loadPointer(const QString &resource, QPoint hotSpot, qreal scale)
{
    if (scale < 1.5)
        return QCursor(QPixmap(resource), hotSpot.x(), hotSpot.y());
    QPixmap doubled(doubledName(resource));
    if (doubled.isNull())
        return QCursor(QPixmap(resource), hotSpot.x(), hotSpot.y());
    doubled.setDevicePixelRatio(2.0);
    // The X11 platform hands the hot spot to the server unscaled, as a
    // position in the image's own pixels; other platforms take it in
    // device-independent pixels.
    const bool imagePixels = QGuiApplication::platformName() == QLatin1String("xcb");
    const QPoint spot = imagePixels ? hotSpot * 2 : hotSpot;
    return QCursor(doubled, spot.x(), spot.y());
}

} // namespace ui
