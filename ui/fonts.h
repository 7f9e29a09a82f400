// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QFont>
#include <QString>

namespace ui {

// The window's fonts by their design names. The Windows faces map to the
// metric-compatible Liberation faces; sizes are points at 96 dots per inch,
// turned into pixels so that text fits its control whatever the screen's
// reported resolution.
struct DesignFont
{
    QString face;
    double points;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    double letterSpacing = 0; // extra pixels between letters; negative sets text tighter
};

QString installedFace(const QString &designFace);
QFont makeFont(const DesignFont &design);
int pointsToPixels(double points);

// "MS Sans Serif" 8.25 pt, the window's own font.
QFont windowFont();

} // namespace ui
