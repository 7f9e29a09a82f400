// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QColor>
#include <QPalette>

namespace ui {

// The game's surface: the main panel and everything on it. Every text colour
// the game sets there (black, navy, maroon, blue, dark red) is a dark colour
// drawn for a light button face, so the surface keeps a light face whatever
// the desktop's theme: under a light theme it is the theme's own face, under
// a dark one a light face of the same standard make. Menus, message boxes,
// tooltips and the window frame follow the desktop theme unchanged.

// Whether a palette is a dark one (light text on a dark face).
bool isDarkPalette(const QPalette &palette);

// The palette of the game's surface, derived from `system`.
QPalette surfacePalette(const QPalette &system);
QPalette surfacePalette(); // from the application's palette

// WCAG contrast ratio between two colours, 1 (none) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

} // namespace ui
