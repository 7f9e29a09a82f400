// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The yardstick for the start-up, memory and idle figures: the plainest Qt
// Widgets program with a window like the game's (a menu bar, a heading and
// forty labels, about the same size). bench/bench_startup.sh starts it side
// by side with the game. Like for like with the game's own start: the same
// widget style, forced the same way (ui/main.cpp forces Fusion), and text in
// the same font families, the Liberation faces the game sets its design
// fonts in (ui/fonts.cpp): the window's font, Liberation Sans at 11 pixels,
// and a heading in Liberation Serif bold like the game's turn line. Not a
// benchmark itself, so not named bench_*.

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyleFactory>

namespace {

QFont face(const char *family, int pixels, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFont(face("Liberation Sans", 11, false));

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));

    auto *client = new QWidget;
    auto *grid = new QGridLayout(client);
    auto *heading = new QLabel(QStringLiteral("Bare window"));
    heading->setFont(face("Liberation Serif", 21, true));
    grid->addWidget(heading, 0, 0, 1, 8);
    for (int i = 0; i < 40; ++i)
        grid->addWidget(new QLabel(QString::number(i)), 1 + i / 8, i % 8);
    window.setCentralWidget(client);
    window.resize(792, 550);
    window.show();
    return app.exec();
}
