// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/windowframe.h"

#include "ui/palette.h"
#include "ui/twips.h"

#include <QtGlobal>

namespace ui {

bool frameIsUnknown(QStringView platformName, const QMargins &frameMargins, bool frameless, bool fullScreen)
{
    // Qt's Wayland platforms are "wayland", "wayland-egl" and the like.
    return platformName.startsWith(u"wayland") && frameMargins.isNull() && !frameless && !fullScreen;
}

QPoint mainPanelPlace(QSize outer, QSize clientArea, bool keepInside)
{
    const QPointF origin = centredPanelOrigin(static_cast<float>(outer.width() * TwipsPerPixel),
                                              static_cast<float>(outer.height() * TwipsPerPixel),
                                              float(MainPanelWidthTwips), float(MainPanelHeightTwips));
    QPoint place(twipsToPixels(origin.x()), twipsToPixels(origin.y()));
    if (keepInside) {
        const QSize room = clientArea - QSize(twipsToPixels(MainPanelWidthTwips), twipsToPixels(MainPanelHeightTwips));
        place.setX(qMax(0, qMin(place.x(), room.width())));
        place.setY(qMax(0, qMin(place.y(), room.height())));
    }
    return place;
}

} // namespace ui
