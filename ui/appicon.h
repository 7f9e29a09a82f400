// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// The desktop id shared by the desktop entry, the AppStream metainfo and the
// theme icon: "<id>.desktop", "<id>.metainfo.xml", "<id>.png".
QString desktopId();

// The die, from the embedded hicolor pictures at every size a window icon
// takes (16 to 128 pixels), so it is drawn sharp at any scale.
// Each size is decoded when it is first wanted.
QIcon appIcon();

} // namespace ui
