// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QMargins>
#include <QPoint>
#include <QSize>
#include <QStringView>

namespace ui {

// The frame counted for a window whose frame is drawn but not described
// to it: a title bar as tall as those of GNOME's and KDE Plasma's own
// frames at their default settings (37 pixels each, as both publish them
// through _NET_FRAME_EXTENTS to X11 windows), and no borders.
inline constexpr QMargins AssumedServerFrame{0, 37, 0, 0};

// Whether a window has a frame of unknown size. On Wayland a compositor
// that draws the frame itself (server-side decoration) tells the client
// nothing of its size, so Qt reports no frame margins although there is a
// title bar; with Qt's own decoration the margins are known. X11 window
// managers publish their frame. A frameless or full-screen window has none.
bool frameIsUnknown(QStringView platformName, const QMargins &frameMargins, bool frameless, bool fullScreen);

// Where the main panel stands in the client area below the menu bar, in
// pixels, for the window's outer size: centred as centredPanelOrigin has
// it. Where the outer size is only an estimate (keepInside), the panel is
// then moved the least it takes to show whole in the client area (to its
// top left corner when it is larger than the area).
QPoint mainPanelPlace(QSize outer, QSize clientArea, bool keepInside);

} // namespace ui
