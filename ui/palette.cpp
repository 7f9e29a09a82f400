// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/palette.h"

#include <array>
#include <limits>

namespace ui {

QColor cycleColour(int index)
{
    static const std::array<QColor, 16> colours = {
        QColor(0, 0, 0),       QColor(0, 0, 128),     QColor(0, 128, 0),     QColor(0, 128, 128),
        QColor(128, 0, 0),     QColor(128, 0, 128),   QColor(128, 128, 0),   QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(0, 0, 255),     QColor(0, 255, 0),     QColor(0, 255, 255),
        QColor(255, 0, 0),     QColor(255, 0, 255),   QColor(255, 255, 0),   QColor(255, 255, 255),
    };
    return colours[static_cast<size_t>(((index % 16) + 16) % 16)];
}

qint16 nextCycleCount(qint16 count)
{
    if (count >= std::numeric_limits<qint16>::max() || count < 0)
        return 0;
    return static_cast<qint16>(count + 1);
}

QPointF centredPanelOrigin(float outerWidthTwips, float outerHeightTwips, float panelWidthTwips,
                           float panelHeightTwips)
{
    const float top = (outerHeightTwips - panelHeightTwips) / 2.0f - 360.0f;
    const float left = (outerWidthTwips - panelWidthTwips) / 2.0f - 60.0f;
    return QPointF(static_cast<double>(left), static_cast<double>(top));
}

} // namespace ui
