#include "ui/numgame.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavrolin"));
    // No display name: the platform would append it to every box's own title.
    QApplication::setDesktopFileName(QStringLiteral("tavrolin"));
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    ui::NumGame window;
    window.show();
    return app.exec();
}
