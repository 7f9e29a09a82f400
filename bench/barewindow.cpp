// The yardstick for the start-up, memory and idle figures: the plainest Qt
// Widgets program with a window like the game's (a menu bar and forty
// labels, about the same size). bench/bench_startup.sh starts it side by
// side with the game. Not a benchmark itself, so not named bench_*.

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));

    auto *client = new QWidget;
    auto *grid = new QGridLayout(client);
    for (int i = 0; i < 40; ++i)
        grid->addWidget(new QLabel(QString::number(i)), i / 8, i % 8);
    window.setCentralWidget(client);
    window.resize(792, 550);
    window.show();
    return app.exec();
}
