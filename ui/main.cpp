// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/appicon.h"
#include "ui/numgame.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavrolin"));
    // No display name: the platform would append it to every box's own title.

    // Wayland compositors match the window to its desktop entry by this id;
    // on X11 it is WM_CLASS "tavrolin" (the application name) that the
    // entry's StartupWMClass names.
    QApplication::setDesktopFileName(ui::desktopId());
    QApplication::setWindowIcon(ui::appIcon());
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    ui::NumGame window;
    window.show();
    return app.exec();
}
