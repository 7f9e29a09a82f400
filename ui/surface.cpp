// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/surface.h"

#include <QApplication>
#include <cmath>

namespace ui {

namespace {

double relativeLuminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

} // namespace

bool isDarkPalette(const QPalette &palette)
{
    return relativeLuminance(palette.color(QPalette::Button)) < relativeLuminance(palette.color(QPalette::ButtonText));
}

QPalette surfacePalette(const QPalette &system)
{
    if (!isDarkPalette(system)) {
        // Every role set explicitly: a palette with roles left unset would
        // take them from the container, the window's navy background.
        QPalette own;
        for (int g = 0; g < QPalette::NColorGroups; ++g)
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto group = QPalette::ColorGroup(g);
                const auto role = QPalette::ColorRole(r);
                if (role != QPalette::NoRole)
                    own.setColor(group, role, system.color(group, role));
            }
        return own;
    }
    // Qt derives a whole standard palette (black text, white bases, bevel
    // shades) from one light button colour.
    QPalette light(QColor(239, 239, 239));
    light.setColor(QPalette::Highlight, system.color(QPalette::Highlight));
    light.setColor(QPalette::HighlightedText, system.color(QPalette::HighlightedText));
    light.setColor(QPalette::Link, QColor(0, 0, 255));
    return light;
}

QPalette surfacePalette()
{
    return surfacePalette(QApplication::palette());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace ui
