// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QColor>
#include <QPointF>

namespace ui {

// The sixteen background colours the window cycles through, index 0..15.
QColor cycleColour(int index);

// The colour-cycle counter after one more tick. It counts up and, rather
// than overflowing past 32767, wraps to 0 - which keeps the palette order,
// since 32767 is the last entry of a cycle of sixteen.
qint16 nextCycleCount(qint16 count);

// Where the main panel goes when the window's outer size (title bar, menu
// and borders included) is the given one; all in twips, single precision,
// unrounded. The panel sits 360 twips above and 60 to the left of centre.
QPointF centredPanelOrigin(float outerWidthTwips, float outerHeightTwips, float panelWidthTwips,
                           float panelHeightTwips);

} // namespace ui
