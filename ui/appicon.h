#pragma once

#include <QIcon>
#include <QString>

namespace ui {

// The desktop id shared by the desktop entry, the AppStream metainfo and the
// theme icon: "<id>.desktop", "<id>.metainfo.xml", "<id>.png".
QString desktopId();

// The die, from the embedded hicolor pictures at every size the desktop
// uses (16 to 256 pixels), so the window icon is drawn sharp at any scale.
QIcon appIcon();

} // namespace ui
