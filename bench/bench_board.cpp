// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// How long the score board takes to show logs of 1,000, 10,000 and 100,000
// games, through the real window's ScoreBoard_Click (offscreen), and to
// hide again. Linear growth shows as a 100,000 / 10,000 ratio near 10.
// Targets: 100,000 games shown in about a second (at most 1.2 s), and a
// ratio of at most 12.

#include "scores/scorelog.h"
#include "support/gamedriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray generatedLog(int games)
{
    QByteArray log;
    scores::FinishedGame g;
    g.names = {QStringLiteral("Christopher"), QStringLiteral("anna")};
    for (int i = 0; i < games; ++i) {
        g.gameEndText = QStringLiteral("Scores of Game ending on %1-03-2026 21:%2:03")
                            .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                            .arg(i % 60, 2, 10, QLatin1Char('0'));
        QString first, second;
        int a = 0, b = 0;
        for (int hit = 0; hit < 10; ++hit) {
            const int v = (i + hit) % 10 - 5, w = (i * 7 + hit) % 10 - 4;
            first += QStringLiteral("+(%1)").arg(v);
            second += QStringLiteral("+(%1)").arg(w);
            a += v;
            b += w;
        }
        g.histories = {first, second};
        g.scoreTexts = {QString::number(a), QString::number(b)};
        g.differenceText = QStringLiteral("Score Difference = %1").arg(qAbs(a - b));
        g.outcomeText = a > b ? QStringLiteral("1") : b > a ? QStringLiteral("2") : QStringLiteral("X");
        log += scores::logRecord(g);
    }
    return log;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    testing::GameDriver driver;
    ui::NumGame &window = driver.window();
    window.show();
    QApplication::processEvents();
    auto *text1 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));

    const QList<int> sizes = {1000, 10000, 100000};
    QList<QByteArray> logs;
    for (const int games : sizes)
        logs << generatedLog(games);

    // Three rounds through the three sizes; the figures are medians.
    constexpr int rounds = 3;
    QList<QList<double>> shownMs(sizes.size());
    QList<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype s = 0; s < sizes.size(); ++s) {
            testing::writeFile(driver.storage.besideExecutable(), logs.at(s));

            QElapsedTimer timer;
            timer.start();
            window.ScoreBoard_Click(); // shows the board, reading the whole log
            QApplication::processEvents();
            const double shown = timer.nsecsElapsed() / 1e6;
            const qsizetype lines = text1->toPlainText().count(QLatin1Char('\n')) + 1;

            timer.restart();
            window.ScoreBoard_Click(); // hides it again
            QApplication::processEvents();
            const double hidden = timer.nsecsElapsed() / 1e6;

            std::printf("board %6d games (%5.1f MB, %7lld lines): show %8.1f ms, hide %7.1f ms\n", sizes.at(s),
                        logs.at(s).size() / 1e6, static_cast<long long>(lines), shown, hidden);
            shownMs[s] << shown;
        }
        ratios << shownMs[2].last() / shownMs[1].last();
    }

    const double hundredThousand = median(shownMs[2]);
    const double ratio = median(ratios);
    std::printf("median of %d rounds: show 1000 %.1f ms, 10000 %.1f ms, 100000 %.1f ms; ratio 100000 / 10000 %.1f\n",
                rounds, median(shownMs[0]), median(shownMs[1]), hundredThousand, ratio);
    std::printf("BENCH board_100k_s %.3f s <= 1.2 score board shown with 100,000 games (median of %d)\n",
                hundredThousand / 1000.0, rounds);
    std::printf("BENCH board_ratio %.2f x <= 12 score board show time, 100,000 / 10,000 games (median of %d)\n",
                ratio, rounds);
    return 0;
}
