// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What one hit costs: Label1_Click / Label2_Click through the real window
// (renumbering, colours, score and turn displays, the sound seam), with the
// window never shown, so nothing is painted. The seams are the test fakes
// and the sound only records. 500 fresh games of twenty hits each; the
// clock and random source change before every hit, so the numbering moves
// as it does in play. Target: a median under 100 microseconds.

#include "support/gamedriver.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

double median(QList<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return ns.at(ns.size() / 2) / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    testing::GameDriver driver;
    ui::NumGame &window = driver.window();

    constexpr int games = 500;
    constexpr int hitsPerGame = 20;
    QList<qint64> all, ending;
    all.reserve(games * hitsPerGame);
    QElapsedTimer total;
    total.start();
    quint32 seed = 12345;
    for (int g = 0; g < games; ++g) {
        window.Reset_Click();
        for (int h = 0; h < hitsPerGame; ++h) {
            seed = seed * 1103515245u + 12345u;
            driver.random.last = float((seed >> 8) % 1000) / 1000.0f;
            driver.clock.seconds = float(g * hitsPerGame + h) * 0.37f;
            const int square = int((seed >> 20) % 10);

            QElapsedTimer timer;
            timer.start();
            if (h % 2 == 0)
                window.Label1_Click(square);
            else
                window.Label2_Click(square);
            const qint64 ns = timer.nsecsElapsed();

            all << ns;
            if (h == hitsPerGame - 1)
                ending << ns;
        }
        if (!window.state().isOver()) {
            std::fprintf(stderr, "bench_hit: game %d did not end after %d hits\n", g, hitsPerGame);
            return 1;
        }
        driver.sound.images.clear();
        QApplication::processEvents();
    }

    const double hit = median(all);
    std::printf("hit over %lld hits in %d games: median %.1f us (game-ending hit, which also logs the game: "
                "median %.1f us); %.0f ms in all\n",
                static_cast<long long>(all.size()), games, hit, median(ending), total.nsecsElapsed() / 1e6);
    std::printf("BENCH hit_us %.1f us < 100 one hit through Label1_Click/Label2_Click, unpainted (median of %lld)\n",
                hit, static_cast<long long>(all.size()));
    std::printf("BENCH hit_ending_us %.1f us info - the twentieth hit, with the end of game and its log record\n",
                median(ending));
    return 0;
}
