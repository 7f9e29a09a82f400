#include "ui/appicon.h"

namespace ui {

QString desktopId()
{
    return QStringLiteral("example.ormandi.Tavrolin");
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/desktop/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(desktopId()),
                     QSize(size, size));
    return icon;
}

} // namespace ui
