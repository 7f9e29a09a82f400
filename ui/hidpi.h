// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <QString>

namespace ui {

// Pictures and pointers on scaled screens. Every picture and pointer image
// of the window also exists drawn at twice its size under the same name with
// "@2x" before the extension; on a screen scaled by more than one the window
// shows those, so nothing is blown up from the small originals.

// The scale the window's pictures are prepared for: the highest device pixel
// ratio among the screens.
qreal pictureScale();

// ":/pictures/logo.gif" -> ":/pictures/logo@2x.gif".
QString doubledName(const QString &resource);

// The picture for a screen of the given scale. Its device-independent size
// is the picture's natural size at every scale: at scale 1 the original, at
// scale 2 the doubled drawing with a device pixel ratio of 2, in between the
// doubled drawing reduced smoothly to the screen's pixels.
QPixmap loadPicture(const QString &resource, qreal scale);

// A pointer from an icon; `hotSpot` is given in the 32 x 32 original's pixels.
// On a scaled screen the doubled image is used, so the pointer keeps its
// apparent size, and the hot spot follows onto the same pixel of the image.
QCursor loadPointer(const QString &resource, QPoint hotSpot, qreal scale);

} // namespace ui
