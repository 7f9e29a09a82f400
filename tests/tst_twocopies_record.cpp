// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// Two copies of the game finishing games at the same moments on one score
// log and one settings file: every game is logged whole, and the highest
// record never drops below a game that has ended. And a log that something
// else keeps locked holds the end of a game up only for the bounded wait.

#include "scores/record.h"
#include "support/gamedriver.h"
#include "support/tempstorage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <bitset>
#include <chrono>
#include <cstdio>
#include <future>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using testing::fileBytes;
using testing::GameDriver;

namespace {

constexpr int kGamesPerCopy = 200;
const int kValues[] = {9, 7, 5, 3, 1, 0, -2, -4, -6, -8};

// Ten hit values that add up to `sum`, when ten hits can make it.
std::optional<QList<int>> hitsWithSum(int sum)
{
    constexpr int low = -80, high = 90;
    std::array<std::bitset<high - low + 1>, 11> reach; // the sums k hits can make
    reach[0].set(-low);
    for (int k = 0; k < 10; ++k) {
        for (int s = low; s <= high; ++s) {
            for (const int v : kValues) {
                if (reach[k].test(s - low) && s + v >= low && s + v <= high)
                    reach[k + 1].set(s + v - low);
            }
        }
    }
    if (sum < low || sum > high || !reach[10].test(sum - low))
        return std::nullopt;
    QList<int> hits;
    for (int k = 10; k > 0; --k) {
        for (const int v : kValues) {
            if (sum - v >= low && sum - v <= high && reach[k - 1].test(sum - v - low)) {
                hits << v;
                sum -= v;
                break;
            }
        }
    }
    return hits;
}

struct Planned
{
    QList<int> first, second;
    int firstSum = 0, secondSum = 0;
    int difference = 0; // the first player always wins
};

// Game n of a copy. The copies play in rounds, game n of both ending at the
// same moment; in two rounds of five the difference climbs by two, so that
// both copies beat the record the round before left, copy 1 by one more
// than copy 0 (1 to 160 in all). Whichever of them saves last, the round
// must leave copy 1's difference stored.
Planned plan(int copy, int n)
{
    Planned game;
    game.difference = 1 + 2 * (2 * n / 5) + copy;
    for (int step = 0; step < 40; ++step) {
        const int second = -(game.difference / 2) + (step % 2 ? (step + 1) / 2 : -(step / 2));
        const auto a = hitsWithSum(second + game.difference), b = hitsWithSum(second);
        if (a && b) {
            game.first = *a;
            game.second = *b;
            game.firstSum = second + game.difference;
            game.secondSum = second;
            return game;
        }
    }
    qFatal("no hits make a difference of %d", game.difference);
    return game;
}

QDateTime gameEnd(int copy, int n)
{
    return QDateTime(QDate(2026 + copy, 1, 1), QTime(0, 0)).addSecs(60LL * n);
}

// The six lines the log should hold for a game.
QStringList expectedRecord(const QDateTime &end, const Planned &game)
{
    const auto line = [](const QString &name, const QList<int> &hits, int sum) {
        QString history;
        for (const int v : hits)
            history += QStringLiteral("+(%1)").arg(v);
        return QStringLiteral("%1 : %2 = %3").arg(name, history).arg(sum);
    };
    return {QStringLiteral("Scores of Game ending on ") + end.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")),
            line(QStringLiteral("PLAYER 1"), game.first, game.firstSum),
            line(QStringLiteral("PLAYER 2"), game.second, game.secondSum),
            QStringLiteral("Score Difference = %1").arg(game.difference),
            QStringLiteral("PLAYER 1 won this game"),
            QString()};
}

// The stored difference, read straight from the settings file (0 when
// there is none yet).
int storedDifference(const QString &settingsFile)
{
    static const QRegularExpression key(QStringLiteral("^ScoreDiff\\s*=\\s*\"?Score Difference = (\\d+)"),
                                        QRegularExpression::MultilineOption);
    return key.match(QString::fromUtf8(fileBytes(settingsFile))).captured(1).toInt();
}

void pointAt(testing::TempStorage &storage, const QString &root)
{
    storage.exeFolder = root + "/exe";
    storage.dataDir = root + "/data";
    storage.settings = root + "/config/tavrolin.conf";
}

// The helper mode: one copy of the game under `root`, copy 0 or 1. For each
// game it makes every hit but the last and says "ready"; the parent's "go"
// lets it make the last hit, which ends the game. At that "go" the round
// before is over in both copies, so it first checks that the stored record
// is not below its game of that round. It ends with "violations <n>
// messages <n>".
int playCopy(const QString &root, int copy)
{
    GameDriver d;
    pointAt(d.storage, root);
    d.settleBoard();
    d.dialogs.messages.clear();
    QList<Planned> games;
    for (int n = 0; n < kGamesPerCopy; ++n)
        games << plan(copy, n);
    int violations = 0;
    for (int n = 0; n <= kGamesPerCopy; ++n) {
        if (n < kGamesPerCopy) {
            d.clock.dateTime = gameEnd(copy, n);
            d.window().Reset_Click();
            d.playGame(games[n].first.first(9), games[n].second.first(9));
            d.hitValue(games[n].first.last(), true);
        }
        std::printf("ready\n");
        std::fflush(stdout);
        char line[16];
        if (!std::fgets(line, sizeof line, stdin) || qstrcmp(line, "go\n") != 0)
            return 3;
        const int stored = storedDifference(d.storage.settings);
        if (n > 0 && stored < games[n - 1].difference) {
            ++violations;
            std::fprintf(stderr, "copy %d, game %d: played %d, stored %d\n", copy, n - 1, games[n - 1].difference,
                         stored);
        }
        if (n == kGamesPerCopy)
            break;
        // Copy 0, whose game is the smaller, ends it from 0 to 3.5 ms after
        // copy 1, a step later in each round, so that some rounds catch
        // copy 1 between reading the record and saving it.
        const auto lag = std::chrono::microseconds(copy == 0 ? 500 * (n % 8) : 0);
        for (const auto release = std::chrono::steady_clock::now() + lag; std::chrono::steady_clock::now() < release;) {
        }
        d.hitValue(games[n].second.last(), false);
    }
    std::printf("violations %d messages %d\n", violations, int(d.dialogs.messages.size()));
    return 0;
}

} // namespace

class TestTwoCopiesRecord : public QObject
{
    Q_OBJECT
private slots:
    void recordNeverFalls();
    void lockedLogWaitsBounded();
};

void TestTwoCopiesRecord::recordNeverFalls()
{
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    QVERIFY(QDir().mkpath(shared.path() + "/exe")); // the log is kept beside the "executable"
    std::array<QProcess, 2> copies;
    for (int c = 0; c < 2; ++c)
        copies[c].start(QCoreApplication::applicationFilePath(), {"--play-copy", shared.path(), QString::number(c)});
    const auto answers = [](QProcess &p, const QByteArray &word) {
        while (!p.canReadLine()) {
            if (!p.waitForReadyRead(20000))
                return false;
        }
        return p.readLine() == word + '\n';
    };
    // Round by round, once both copies are one hit from the end of their
    // game, both are let go together.
    for (int n = 0; n <= kGamesPerCopy; ++n) {
        for (QProcess &p : copies)
            QVERIFY2(answers(p, "ready"), qPrintable(p.readAllStandardError()));
        for (QProcess &p : copies)
            p.write("go\n");
        for (QProcess &p : copies)
            QVERIFY(p.waitForBytesWritten(20000));
    }
    std::array<QByteArray, 2> reports, complaints;
    for (int c = 0; c < 2; ++c) {
        QVERIFY(copies[c].waitForFinished(60000));
        reports[c] = copies[c].readAllStandardOutput().trimmed();
        complaints[c] = copies[c].readAllStandardError();
        QCOMPARE(copies[c].exitStatus(), QProcess::NormalExit);
        QVERIFY2(copies[c].exitCode() == 0, complaints[c].constData());
    }

    // Both copies' games, each whole and in the order that copy played them.
    const QByteArray log = fileBytes(shared.path() + "/exe/TVL_Scores");
    QVERIFY(log.endsWith("\r\n\r\n"));
    QCOMPARE(log.count('\n'), log.count("\r\n"));
    QCOMPARE(log.count('\r'), log.count("\r\n"));
    QStringList lines = QString::fromUtf8(log).split(QStringLiteral("\r\n"));
    lines.removeLast();
    QCOMPARE(lines.size(), 2 * kGamesPerCopy * 6);
    std::array<int, 2> next{0, 0};
    int largest = 0;
    static const QRegularExpression differenceLine(QStringLiteral("^Score Difference = (\\d+)$"));
    for (qsizetype r = 0; r < lines.size(); r += 6) {
        const QStringList record = lines.mid(r, 6);
        int copy = -1;
        for (int c = 0; c < 2; ++c) {
            if (next[c] < kGamesPerCopy && record == expectedRecord(gameEnd(c, next[c]), plan(c, next[c])))
                copy = c;
        }
        QVERIFY2(copy >= 0, qPrintable("record " + QString::number(r / 6) + " is no copy's next game:\n"
                                       + record.join('\n')));
        ++next[copy];
        largest = qMax(largest, differenceLine.match(record[3]).captured(1).toInt());
    }
    QCOMPARE(next[0], kGamesPerCopy);
    QCOMPARE(next[1], kGamesPerCopy);

    // The record is the largest difference logged, all five keys from one
    // game with that difference.
    QVERIFY(largest > 0);
    const QString settings = shared.path() + "/config/tavrolin.conf";
    QCOMPARE(storedDifference(settings), largest);
    const scores::RecordValues stored = scores::RecordStore(settings).values();
    QCOMPARE(stored[3], QStringLiteral("Score Difference = %1").arg(largest));
    QCOMPARE(stored[4], QStringLiteral("PLAYER 1 had won the Game."));
    bool fromOneGame = false;
    for (qsizetype r = 0; r < lines.size(); r += 6)
        fromOneGame = fromOneGame || lines.mid(r, 4) == QStringList(stored.begin(), stored.begin() + 4);
    QVERIFY2(fromOneGame, qPrintable(QStringList(stored.begin(), stored.end()).join('\n')));

    // Neither copy ever found a record below a game it had just ended.
    for (int c = 0; c < 2; ++c)
        QVERIFY2(reports[c] == "violations 0 messages 0",
                 qPrintable("copy " + QString::number(c) + ": " + reports[c] + "\n" + complaints[c].left(2000)));
}

void TestTwoCopiesRecord::lockedLogWaitsBounded()
{
    GameDriver d;
    d.settleBoard();
    d.dialogs.messages.clear();
    const QString logPath = d.storage.besideExecutable();
    const int fd = ::open(QFile::encodeName(logPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX), 0);

    // Everything but the last hit, then the last hit timed: the game ends
    // while the log is held.
    const Planned game = plan(0, 60);
    d.clock.dateTime = gameEnd(0, 60);
    for (int k = 0; k < 10; ++k) {
        d.hitValue(game.first[k], true);
        if (k < 9)
            d.hitValue(game.second[k], false);
    }
    // Should the game wait on the lock without end, the lock is let go
    // after eight seconds, so that the test fails rather than hangs.
    std::promise<void> ended;
    std::thread keeper([fd, until = ended.get_future()] {
        if (until.wait_for(std::chrono::seconds(8)) == std::future_status::timeout)
            ::flock(fd, LOCK_UN);
    });
    QElapsedTimer timer;
    timer.start();
    d.hitValue(game.second[9], false);
    const qint64 heldMs = timer.elapsed();
    ended.set_value();
    keeper.join();
    ::close(fd);
    QVERIFY2(heldMs >= 1500, qPrintable(QString::number(heldMs) + " ms: the lock was not waited for"));
    QVERIFY2(heldMs <= 6000, qPrintable(QString::number(heldMs) + " ms: the wait was not bounded"));
    QVERIFY2(d.dialogs.messages.isEmpty(), qPrintable(d.dialogs.messages.value(0).text));
    const QByteArray first = expectedRecord(gameEnd(0, 60), game).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    QCOMPARE(fileBytes(logPath), first);
    QCOMPARE(storedDifference(d.storage.settingsFile()), game.difference);

    // With the log let go the next game ends at once, and takes the record.
    const Planned after = plan(0, 100);
    d.clock.dateTime = gameEnd(0, 100);
    d.window().Reset_Click();
    timer.restart();
    d.playGame(after.first, after.second);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()) + " ms for a game"));
    QVERIFY(d.dialogs.messages.isEmpty());
    QCOMPARE(fileBytes(logPath),
             first + expectedRecord(gameEnd(0, 100), after).join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    QCOMPARE(storedDifference(d.storage.settingsFile()), after.difference);
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--play-copy") == 0)
        return playCopy(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    TestTwoCopiesRecord test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_twocopies_record.moc"
