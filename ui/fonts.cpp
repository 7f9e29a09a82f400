// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/fonts.h"

#include <cmath>

namespace ui {

QString installedFace(const QString &designFace)
{
    if (designFace == QLatin1String("Times New Roman"))
        return QStringLiteral("Liberation Serif");
    // "Arial" and "MS Sans Serif" are both sans faces of Arial's metrics.
    return QStringLiteral("Liberation Sans");
}

int pointsToPixels(double points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont makeFont(const DesignFont &design)
{
    QFont font(installedFace(design.face));
    font.setPixelSize(pointsToPixels(design.points));
    font.setBold(design.bold);
    font.setItalic(design.italic);
    font.setUnderline(design.underline);
    if (design.letterSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, design.letterSpacing);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont windowFont()
{
    return makeFont({QStringLiteral("MS Sans Serif"), 8.25});
}

} // namespace ui
