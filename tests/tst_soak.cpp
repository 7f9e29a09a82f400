// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// Ten thousand whole games through the window's own handlers, one after the
// other on one window: the log ends up with every record whole and in order,
// the highest record is the largest difference played (draws never take
// it), and the program's memory does not grow with the number of games.

#include "game/textvalue.h"
#include "scores/record.h"
#include "support/gamedriver.h"
#include "ui/gamelabel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using testing::GameDriver;

namespace {

constexpr int kGames = 10000;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

// What a hit can be worth: each series always shows these once.
const int kValues[] = {9, 7, 5, 3, 1, 0, -2, -4, -6, -8};

// Resident memory of this process in kB, from /proc/self/status.
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // A proc file reports no size, so atEnd() cannot be trusted: take it whole.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Played
{
    QList<int> first;
    QList<int> second;
    int difference = 0;
    int outcome = 0; // 1 or 2 for the winner, 0 for a draw
};

// The hits of game `n`: random, except that every seventh game is a draw
// (the second player hits the first player's values in another order) and
// every 997th a landslide, so that the record climbs now and then late in
// the run as well.
Played plan(QRandomGenerator &rng, int n)
{
    Played game;
    for (int k = 0; k < 10; ++k) {
        game.first << kValues[rng.bounded(10)];
        game.second << kValues[rng.bounded(10)];
    }
    if (n % 7 == 3) {
        game.second = game.first;
        std::reverse(game.second.begin(), game.second.end());
    }
    if (n % 997 == 500) {
        const int high = 1 + n / 997; // 1 to 11 nines for the winner
        for (int k = 0; k < 10; ++k) {
            game.first[k] = k < high ? 9 : 7;
            game.second[k] = -8;
        }
    }
    int sum1 = 0, sum2 = 0;
    for (int k = 0; k < 10; ++k) {
        sum1 += game.first[k];
        sum2 += game.second[k];
    }
    game.difference = qAbs(sum1 - sum2);
    game.outcome = sum1 == sum2 ? 0 : (sum1 > sum2 ? 1 : 2);
    return game;
}

// Plays a game as GameDriver::playGame does, with the squares looked up
// once rather than on every hit.
class FastHands
{
public:
    explicit FastHands(GameDriver &d) : m_d(d)
    {
        for (int i = 0; i < 10; ++i) {
            m_squares[0][i] = d.square(true, i);
            m_squares[1][i] = d.square(false, i);
        }
    }

    void playGame(const QList<int> &firstHits, const QList<int> &secondHits)
    {
        for (qsizetype k = 0; k < firstHits.size(); ++k) {
            hit(0, firstHits[k]);
            hit(1, secondHits[k]);
        }
    }

private:
    void hit(int series, int value)
    {
        for (int i = 0; i < 10; ++i) {
            if (game::textValue(m_squares[series][i]->text()) == value) {
                series == 0 ? m_d.window().Label1_Click(i) : m_d.window().Label2_Click(i);
                return;
            }
        }
        qFatal("no square shows %d", value);
    }

    GameDriver &m_d;
    ui::GameLabel *m_squares[2][10];
};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void tenThousandGames();
    void coloursGivenAgainHold();
};

void TestSoak::tenThousandGames()
{
    GameDriver d;
    d.settleBoard();
    FastHands hands(d);
    d.dialogs.messages.clear();
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0, 0));
    QRandomGenerator rng(20260307);

    QList<Played> games;
    games.reserve(kGames);
    qint64 rssAfter100 = 0;
    int largest = 0;
    int largestGame = -1;
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; n < kGames; ++n) {
        const Played game = plan(rng, n);
        d.clock.dateTime = start.addSecs(60LL * n); // every game ends on its own minute
        d.window().Resetz_Click();
        hands.playGame(game.first, game.second);
        if (game.outcome != 0 && game.difference > largest) {
            largest = game.difference;
            largestGame = n;
        }
        games << game;
        // The recording sound keeps what it played; only the window is soaked.
        d.sound.images.clear();
        if (n == 99)
            rssAfter100 = residentKb();
    }
    const qint64 rssAfterLast = residentKb();
    const qint64 elapsedMs = timer.elapsed();
    qInfo("%d games in %lld ms; resident memory %lld kB after 100 games, %lld kB after the last", kGames,
          elapsedMs, rssAfter100, rssAfterLast);

    // No game asked anything of the players or warned them.
    QVERIFY2(d.dialogs.messages.isEmpty(), qPrintable(d.dialogs.messages.value(0).text));

    // Every record whole, in order, and saying what was played.
    const QByteArray log = testing::fileBytes(d.storage.besideExecutable());
    QVERIFY(log.endsWith("\r\n\r\n"));
    QCOMPARE(log.count('\n'), log.count("\r\n")); // no bare line feeds
    QCOMPARE(log.count('\r'), log.count("\r\n")); // no bare carriage returns
    const QList<QByteArray> lines = log.chopped(1).split('\n'); // each line keeps its CR
    QCOMPARE(lines.size(), 6 * kGames);
    for (int n = 0; n < kGames; ++n) {
        const Played &game = games[n];
        const QByteArray when = start.addSecs(60LL * n).toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")).toLatin1();
        const QByteArray *rec = lines.constData() + 6 * n;
        const QByteArray winner = game.outcome == 0 ? QByteArray("Nobody")
                                                    : QByteArray(game.outcome == 1 ? "PLAYER 1" : "PLAYER 2");
        const bool whole = rec[0] == "Scores of Game ending on " + when + '\r' && rec[1].startsWith("PLAYER 1 : +(")
            && rec[2].startsWith("PLAYER 2 : +(") && rec[3] == "Score Difference = " + QByteArray::number(game.difference) + '\r'
            && rec[4] == winner + " won this game\r" && rec[5] == "\r";
        if (!whole) {
            QFAIL(qPrintable(QStringLiteral("record %1 is not what was played:\n%2").arg(n).arg(
                QString::fromUtf8(QList<QByteArray>(rec, rec + 6).join('\n')))));
        }
    }

    // The highest record: the first game that reached the largest difference.
    QVERIFY(largestGame >= 0);
    const scores::RecordValues stored = scores::RecordStore(d.storage.settingsFile()).values();
    QCOMPARE(stored[3], QStringLiteral("Score Difference = %1").arg(largest));
    QCOMPARE(stored[0], scores::gameEndText(start.addSecs(60LL * largestGame)));
    QCOMPARE(stored[4], QStringLiteral("PLAYER %1 had won the Game.").arg(games[largestGame].outcome));

    QVERIFY(rssAfter100 > 0 && rssAfterLast > 0);
    if (kAddressSanitizer) {
        // AddressSanitizer holds freed memory back on purpose (and reports
        // leaks itself), so resident memory says nothing there.
        qInfo("memory growth not judged under AddressSanitizer");
        return;
    }
    QVERIFY2(rssAfterLast - rssAfter100 <= 5 * 1024,
             qPrintable(QStringLiteral("resident memory grew by %1 kB").arg(rssAfterLast - rssAfter100)));
}

// Giving a square the colour it already shows is skipped (that keeps the
// games fast), yet the colour must still be its own: when it only showed
// its parent's colour, a later change of the parent must not carry it along.
void TestSoak::coloursGivenAgainHold()
{
    const QColor green(0, 128, 0), red(255, 0, 0), blue(0, 0, 255);
    QWidget parent;
    QPalette p = parent.palette();
    p.setColor(QPalette::Window, green);
    p.setColor(QPalette::WindowText, green);
    parent.setPalette(p);
    ui::GameLabel square(&parent);
    QCOMPARE(square.backColor(), green); // inherited so far

    square.setBackColor(green);
    square.setTextColor(green);
    square.setBackColor(green); // the second time changes nothing
    square.setTextColor(green);
    p.setColor(QPalette::Window, red);
    p.setColor(QPalette::WindowText, red);
    parent.setPalette(p);
    QCOMPARE(square.backColor(), green);
    QCOMPARE(square.textColor(), green);

    square.setBackColor(blue);
    square.setTextColor(blue);
    QCOMPARE(square.backColor(), blue);
    QCOMPARE(square.textColor(), blue);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
