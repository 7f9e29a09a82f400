// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What the players see when the score log or the settings cannot be
// written or deleted. Tests run as root, where folder permissions stop
// nothing, so each failure is made real another way, named in each test:
// a path that runs through a regular file, a folder where a file should
// be, a link to /dev/full, a read-only mount or a small tmpfs that fills up
// inside a private mount namespace. Where mounts are not allowed those
// tests are skipped, except on CI (CI=true), where they fail.

#include "scores/record.h"
#include "support/gamedriver.h"
#include "support/tempstorage.h"
#include "ui/gamelabel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTest>

using testing::fileBytes;
using testing::GameDriver;
using Icon = ui::Dialogs::Icon;

namespace {

const QList<int> kFirst{9, 9, 5, 0, 0, 0, 0, 0, 0, 0};  // 23
const QList<int> kSecond{9, 1, 1, 0, 0, 0, 0, 0, 0, 0}; // 11

void pointAt(testing::TempStorage &storage, const QString &root)
{
    storage.exeFolder = root + "/exe";
    storage.dataDir = root + "/data";
    storage.settings = root + "/config/tavrolin.conf";
}

// The small disk: a tmpfs of sixteen pages.
constexpr int kSmallDiskBytes = 64 * 1024;

// Names long enough that one game's record takes several KiB, so that a
// few games fill the small disk.
const QString kLongFirst = QStringLiteral("Annabel-").repeated(320);      // 2,560 characters
const QString kLongSecond = QStringLiteral("Bartholomew-").repeated(220); // 2,640 characters

QByteArray encoded(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

// Prints the messages shown since the last call, one per line, as
// "<icon>:<percent-encoded text>".
void printMessages(GameDriver &d)
{
    for (const testing::ShownMessage &m : d.dialogs.messages)
        printf("%d:%s\n", int(m.icon), encoded(m.text).constData());
    d.dialogs.messages.clear();
}

void nameBoth(GameDriver &d, const QString &first, const QString &second)
{
    d.dialogs.promptAnswers.enqueue(first);
    d.window().Player1_Click();
    d.dialogs.promptAnswers.enqueue(second);
    d.window().Player2_Click();
}

// A new game played to its end, then "game:<log size>:<difference shown>"
// and its messages. True when it showed any.
bool playAndReport(GameDriver &d)
{
    d.window().Reset_Click();
    d.playGame(kFirst, kSecond);
    printf("game:%lld:%s\n", QFileInfo(d.storage.besideExecutable()).size(),
           encoded(d.label("Label10")->text()).constData());
    const bool shown = !d.dialogs.messages.isEmpty();
    printMessages(d);
    return shown;
}

// The helper mode, run inside a mount namespace with part of `root`
// mounted over. Its storage lives under `root`; what it saw is printed.
//   play, clear     one game, or the clear command
//   fill-log        games with long names until two could not be logged,
//                   then one with short names; the log is copied to
//                   <root>/log-after
//   record-on-full-disk:<n>  <root>/settings-before (if any) becomes the
//                   settings file, a filler takes all but n bytes of the
//                   disk, and a record-breaking game is
//                   played; the settings file is copied to
//                   <root>/settings-after, "free:" and "files:" tell the
//                   space left before the game and the folder after it
int runInsideMount(const QString &action, const QString &root)
{
    GameDriver d;
    pointAt(d.storage, root);
    d.settleBoard();
    d.dialogs.messages.clear();
    if (action == QLatin1String("play")) {
        d.playGame(kFirst, kSecond);
    } else if (action == QLatin1String("clear")) {
        d.window().ClearScores_Click();
    } else if (action == QLatin1String("fill-log")) {
        nameBoth(d, kLongFirst, kLongSecond);
        for (int game = 0, failures = 0; game < 40 && failures < 2; ++game)
            failures += playAndReport(d) ? 1 : 0;
        nameBoth(d, QStringLiteral("Ann"), QStringLiteral("Bert"));
        playAndReport(d);
        QFile::copy(d.storage.besideExecutable(), root + "/log-after");
    } else if (action.startsWith(QLatin1String("record-on-full-disk:"))) {
        const QString folder = root + "/config";
        if (QFile::exists(root + "/settings-before") && !QFile::copy(root + "/settings-before", d.storage.settings))
            return 3;
        const qint64 filler = QStorageInfo(folder).bytesAvailable() - action.section(QLatin1Char(':'), 1).toLongLong();
        testing::writeFile(folder + "/filler", QByteArray(qMax<qint64>(filler, 0), 'f'));
        printf("free:%lld\n", QStorageInfo(folder).bytesAvailable());
        d.playGame(kFirst, kSecond);
        QFile::copy(d.storage.settings, root + "/settings-after");
        const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        printf("files:%s\n", encoded(files.join(QLatin1Char('/'))).constData());
    } else {
        return 2;
    }
    printMessages(d);
    return 0;
}

struct PlayedGame
{
    qint64 logSize = -1;
    QString difference;
    QList<QPair<Icon, QString>> messages;
};

struct MountRun
{
    bool mounted = false;
    QString failure; // why nothing was mounted
    int exitCode = -1;
    QList<QPair<Icon, QString>> messages; // all of them, in turn
    QList<PlayedGame> games;              // fill-log
    QMap<QByteArray, QString> facts;      // "free", "files"
};

enum class Mount { ReadOnly, SmallDisk };

// Runs the helper in a private mount namespace after mounting over
// `target`: a bind of it (a folder or a file) read-only over itself, or
// an empty tmpfs of kSmallDiskBytes (a folder).
MountRun runInMount(Mount mount, const QString &target, const QString &action, const QString &root)
{
    MountRun run;
    if (QStandardPaths::findExecutable("unshare").isEmpty()) {
        run.failure = QStringLiteral("unshare is not installed");
        return run;
    }
    const QString mountCommand = mount == Mount::ReadOnly
        ? QStringLiteral("mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\"")
        : QStringLiteral("mount -t tmpfs -o size=%1 tmpfs \"$1\"").arg(kSmallDiskBytes);
    const QString script = mountCommand + QStringLiteral(" || exit 97; echo mounted >&2; shift; exec \"$@\"");
    QProcess p;
    p.start("unshare", {"-m", "sh", "-c", script, "sh", target, QCoreApplication::applicationFilePath(),
                        "--inside-mount", action, root});
    if (!p.waitForFinished(120000)) {
        run.failure = QStringLiteral("the helper did not finish");
        return run;
    }
    const QByteArray errors = p.readAllStandardError();
    run.mounted = errors.contains("mounted");
    run.failure = QString::fromLocal8Bit(errors).trimmed();
    run.exitCode = p.exitCode();
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray tag = line.left(colon);
        const QByteArray rest = line.mid(colon + 1);
        if (tag == "game") {
            const int second = rest.indexOf(':');
            run.games.append({rest.left(second).toLongLong(),
                              QString::fromUtf8(QByteArray::fromPercentEncoding(rest.mid(second + 1))), {}});
        } else if (tag == "free" || tag == "files") {
            run.facts.insert(tag, QString::fromUtf8(QByteArray::fromPercentEncoding(rest)));
        } else {
            const QPair<Icon, QString> message{Icon(tag.toInt()), QString::fromUtf8(QByteArray::fromPercentEncoding(rest))};
            run.messages.append(message);
            if (!run.games.isEmpty())
                run.games.last().messages.append(message);
        }
    }
    return run;
}

MountRun runWithReadOnly(const QString &readOnly, const QString &action, const QString &root)
{
    return runInMount(Mount::ReadOnly, readOnly, action, root);
}

// A mount test goes on only where the mount could be made; on CI (CI=true)
// a mount that cannot be made fails the test rather than hiding it.
#define REQUIRE_MOUNTED(run)                                                                                     \
    do {                                                                                                         \
        if (!(run).mounted) {                                                                                    \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                                             \
                QFAIL(qPrintable(QStringLiteral("mounts are needed on CI but could not be made: ") + (run).failure)); \
            QSKIP("mounts are not available here");                                                              \
        }                                                                                                        \
    } while (false)

} // namespace

class TestScoreFaults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void logPathIsAFolder();
    void logIsADevice();
    void executableFolderCannotHoldTheLog();
    void executableFolderReadOnlyMount();
    void settingsCannotBeSaved();
    void settingsFileReadOnlyMount();
    void logCannotBeDeleted();
    void deletionsFailOnReadOnlyMounts();

    // A disk that fills up.
    void logOnFullDisk();
    void recordOnFullDisk_data();
    void recordOnFullDisk();

private:
    std::unique_ptr<GameDriver> d;
    QString settings() const { return d->storage.settingsFile(); }
    scores::RecordValues stored() const { return scores::RecordStore(settings()).values(); }
    // Makes the executable's folder impossible: its path runs through a
    // regular file.
    void executableFolderThroughAFile()
    {
        testing::writeFile(d->storage.root() + "/plainfile", "not a folder");
        d->storage.exeFolder = d->storage.root() + "/plainfile/bin";
    }
};

void TestScoreFaults::init()
{
    d = std::make_unique<GameDriver>();
    d->settleBoard();
    d->dialogs.messages.clear();
}

void TestScoreFaults::cleanup()
{
    d.reset();
}

void TestScoreFaults::logPathIsAFolder()
{
    // A folder named like the log in both places that could hold it.
    executableFolderThroughAFile();
    QVERIFY(QDir().mkpath(d->storage.inDataFolder() + "/inside"));
    d->playGame(kFirst, kSecond);
    QCOMPARE(d->dialogs.messages.size(), 1);
    const testing::ShownMessage &warning = d->dialogs.messages[0];
    QCOMPARE(warning.icon, Icon::Exclamation);
    QVERIFY2(warning.text.contains(d->storage.inDataFolder()), qPrintable(warning.text));
    QVERIFY2(warning.text.contains("directory", Qt::CaseInsensitive), qPrintable(warning.text));
    // The record step still runs.
    QCOMPARE(stored()[3], QStringLiteral("Score Difference = 12"));
}

void TestScoreFaults::logIsADevice()
{
    // The log is a link to /dev/full: a device is never written to.
    QVERIFY(QFile::link("/dev/full", d->storage.besideExecutable()));
    d->playGame(kFirst, kSecond);
    QCOMPARE(d->dialogs.messages.size(), 1);
    const testing::ShownMessage &warning = d->dialogs.messages[0];
    QCOMPARE(warning.icon, Icon::Exclamation);
    QVERIFY2(warning.text.contains(d->storage.besideExecutable()), qPrintable(warning.text));
    QVERIFY2(warning.text.contains("it is not a regular file"), qPrintable(warning.text));
    QCOMPARE(stored()[4], QStringLiteral("PLAYER 1 had won the Game."));
}

void TestScoreFaults::executableFolderCannotHoldTheLog()
{
    // The executable's folder path runs through a regular file, as an
    // unwritable system folder would refuse the file: the data folder,
    // created on the way, holds the log, and the board and the clear
    // command find it there.
    executableFolderThroughAFile();
    d->playGame(kFirst, kSecond);
    QCOMPARE(d->dialogs.messages.size(), 0);
    QVERIFY(fileBytes(d->storage.inDataFolder()).endsWith("PLAYER 1 won this game\r\n\r\n"));

    d->window().ScoreBoard_Click();
    auto *text1 = d->window().findChild<QPlainTextEdit *>("Text1");
    QVERIFY(text1->toPlainText().contains("PLAYER 1 won this game"));

    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("All Records Cleared Successfully."));
    QVERIFY(!QFile::exists(d->storage.inDataFolder()));
}

void TestScoreFaults::executableFolderReadOnlyMount()
{
    // The executable's folder is a read-only mount: the game falls back to
    // the data folder without a word.
    const QString root = d->storage.root();
    QVERIFY(QDir().mkpath(root + "/exe"));
    const MountRun run = runWithReadOnly(root + "/exe", "play", root);
    REQUIRE_MOUNTED(run);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messages.size(), 0);
    QVERIFY(!QFile::exists(root + "/exe/TVL_Scores"));
    QVERIFY(fileBytes(root + "/data/TVL_Scores").endsWith("PLAYER 1 won this game\r\n\r\n"));
}

void TestScoreFaults::settingsCannotBeSaved()
{
    // The settings folder's path runs through a regular file.
    testing::writeFile(d->storage.root() + "/plainfile", "not a folder");
    d->storage.settings = d->storage.root() + "/plainfile/tavrolin.conf";
    d->playGame(kFirst, kSecond);
    QCOMPARE(d->dialogs.messages.size(), 1);
    QCOMPARE(d->dialogs.messages[0].icon, Icon::Exclamation);
    QVERIFY2(d->dialogs.messages[0].text.contains(d->storage.settings), qPrintable(d->dialogs.messages[0].text));
    // The game was logged all the same, and no record shows as saved.
    QVERIFY(QFile::exists(d->storage.besideExecutable()));
    d->window().RecordHigh_Click();
    QCOMPARE(d->dialogs.messages.last().text, QStringLiteral("NO RECORD FOUND TO DISPLAY"));
}

void TestScoreFaults::settingsFileReadOnlyMount()
{
    // The settings file is mounted read-only over itself.
    const QString root = d->storage.root();
    QVERIFY(QDir().mkpath(root + "/config"));
    testing::writeFile(root + "/config/tavrolin.conf", "[Other]\nkey=kept\n");
    const MountRun run = runWithReadOnly(root + "/config/tavrolin.conf", "play", root);
    REQUIRE_MOUNTED(run);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messages.size(), 1);
    QCOMPARE(run.messages[0].first, Icon::Exclamation);
    QVERIFY2(run.messages[0].second.contains(root + "/config/tavrolin.conf"), qPrintable(run.messages[0].second));
    QCOMPARE(fileBytes(root + "/config/tavrolin.conf"), QByteArray("[Other]\nkey=kept\n"));
    QVERIFY(QFile::exists(root + "/exe/TVL_Scores"));
}

void TestScoreFaults::logCannotBeDeleted()
{
    // The log in the data folder is a folder with something in it, so it
    // cannot be deleted; the record can, and stays deleted.
    executableFolderThroughAFile();
    QVERIFY(QDir().mkpath(d->storage.inDataFolder() + "/inside"));
    QString reason;
    QVERIFY(scores::RecordStore(settings()).save({"T", "P1", "P2", "Score Difference = 9", "R"}, &reason));
    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.size(), 2);
    const testing::ShownMessage &warning = d->dialogs.messages[1];
    QCOMPARE(warning.icon, Icon::Exclamation);
    QVERIFY2(warning.text.contains(d->storage.inDataFolder()), qPrintable(warning.text));
    QVERIFY(!warning.text.contains(settings()));
    QCOMPARE(stored(), scores::RecordValues{});
}

void TestScoreFaults::deletionsFailOnReadOnlyMounts()
{
    // Both the log (in the data folder, the executable's folder being
    // impossible) and the settings file sit on read-only mounts: neither
    // can be deleted, and the warning names both. Two mounts need two
    // runs, so each is checked on its own.
    const QString root = d->storage.root();
    // The executable's folder "exe" is made impossible by being a file.
    QVERIFY(QDir(root).rmdir("exe"));
    testing::writeFile(root + "/exe", "not a folder");
    QVERIFY(QDir().mkpath(root + "/data"));
    testing::writeFile(root + "/data/TVL_Scores", "a game\r\n");
    QString reason;
    QVERIFY(scores::RecordStore(settings()).save({"T", "P1", "P2", "Score Difference = 9", "R"}, &reason));

    // The log's folder is read-only: the log stays, the record goes.
    MountRun run = runWithReadOnly(root + "/data", "clear", root);
    REQUIRE_MOUNTED(run);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messages.size(), 2);
    QCOMPARE(run.messages[1].first, Icon::Exclamation);
    QVERIFY2(run.messages[1].second.contains(root + "/data/TVL_Scores"), qPrintable(run.messages[1].second));
    QVERIFY(!run.messages[1].second.contains("tavrolin.conf"));
    QVERIFY(QFile::exists(root + "/data/TVL_Scores"));
    QCOMPARE(stored(), scores::RecordValues{});

    // The settings file is read-only: the record stays, the log goes.
    QVERIFY(scores::RecordStore(settings()).save({"T", "P1", "P2", "Score Difference = 9", "R"}, &reason));
    run = runWithReadOnly(settings(), "clear", root);
    QVERIFY(run.mounted);
    QCOMPARE(run.messages.size(), 2);
    QVERIFY2(run.messages[1].second.contains(settings()), qPrintable(run.messages[1].second));
    QVERIFY(!run.messages[1].second.contains("TVL_Scores"));
    QVERIFY(!QFile::exists(root + "/data/TVL_Scores"));
    QCOMPARE(stored()[0], QStringLiteral("T"));
}

void TestScoreFaults::logOnFullDisk()
{
    // The executable's folder is a small tmpfs, filled by games whose
    // records take several KiB each.
    const QString root = d->storage.root();
    const MountRun run = runInMount(Mount::SmallDisk, root + "/exe", "fill-log", root);
    REQUIRE_MOUNTED(run);
    QCOMPARE(run.exitCode, 0);
    const QString log = root + "/exe/TVL_Scores";
    const QString fullDisk =
        QStringLiteral("This game could not be added to the score log \"%1\": No space left on device.").arg(log);

    // Games are logged until the disk is full; every game, logged or not,
    // is played to its end.
    qsizetype fitted = 0;
    while (fitted < run.games.size() && run.games[fitted].messages.isEmpty())
        ++fitted;
    QVERIFY2(fitted >= 2 && fitted + 3 == run.games.size(), qPrintable(QString::number(run.games.size())));
    const qint64 recordSize = run.games[0].logSize;
    QVERIFY2(recordSize > 4096, qPrintable(QString::number(recordSize)));
    for (qsizetype i = 0; i < run.games.size(); ++i)
        QCOMPARE(run.games[i].difference, QStringLiteral("Score Difference = 12"));
    for (qsizetype i = 0; i < fitted; ++i)
        QCOMPARE(run.games[i].logSize, (i + 1) * recordSize);
    QVERIFY(fitted * recordSize <= kSmallDiskBytes && (fitted + 1) * recordSize > kSmallDiskBytes);
    qInfo("records of %lld bytes: %lld fitted in %d bytes", recordSize, qint64(fitted), kSmallDiskBytes);

    // The two that did not fit are told, each once, and leave the log as
    // it was; the short one after them fits in what they did not take.
    for (const qsizetype failed : {fitted, fitted + 1}) {
        QCOMPARE(run.games[failed].messages.size(), 1);
        QCOMPARE(run.games[failed].messages[0].first, Icon::Exclamation);
        QCOMPARE(run.games[failed].messages[0].second, fullDisk);
        QCOMPARE(run.games[failed].logSize, fitted * recordSize);
    }
    QCOMPARE(run.games.last().messages.size(), 0);
    QVERIFY(run.games.last().logSize > fitted * recordSize);

    // The log holds whole six-line CR LF records only.
    const QByteArray bytes = fileBytes(root + "/log-after");
    QCOMPARE(bytes.size(), run.games.last().logSize);
    QVERIFY(bytes.endsWith("\r\n\r\n"));
    QByteArrayList lines = bytes.split('\n');
    lines.removeLast(); // after the last LF
    QCOMPARE(lines.size(), (fitted + 1) * 6);
    for (qsizetype r = 0; r <= fitted; ++r) {
        const QByteArray first = (r < fitted ? kLongFirst : QStringLiteral("Ann")).toUtf8();
        const QByteArray second = (r < fitted ? kLongSecond : QStringLiteral("Bert")).toUtf8();
        const QByteArrayList record = lines.mid(r * 6, 6);
        for (const QByteArray &line : record)
            QVERIFY(line.endsWith('\r') && !line.chopped(1).contains('\r'));
        QVERIFY(record[0].startsWith("Scores of Game ending on 07-03-2026 21:05:03"));
        QVERIFY(record[1].startsWith(first + " : +(9)+(9)+(5)") && record[1].endsWith(" = 23\r"));
        QVERIFY(record[2].startsWith(second + " : +(9)+(1)+(1)") && record[2].endsWith(" = 11\r"));
        QCOMPARE(record[3], QByteArray("Score Difference = 12\r"));
        QCOMPARE(record[4], first + " won this game\r");
        QCOMPARE(record[5], QByteArray("\r"));
    }
}

void TestScoreFaults::recordOnFullDisk_data()
{
    // A few hundred bytes left are no page at all, and stop QSettings at its
    // lock file; a page and a bit more take the lock file, and stop the
    // settings text.
    QTest::addColumn<bool>("savedBefore");
    QTest::addColumn<int>("leftBytes");
    QTest::newRow("record saved before") << true << 300;
    QTest::newRow("no settings file") << false << 300;
    QTest::newRow("record saved before, room for the lock file") << true << 4096 + 300;
}

void TestScoreFaults::recordOnFullDisk()
{
    // The settings file's folder is a small tmpfs, nearly full when a game
    // breaks the record.
    QFETCH(bool, savedBefore);
    QFETCH(int, leftBytes);
    const QString root = d->storage.root();
    QByteArray before;
    if (savedBefore) {
        QString reason;
        QVERIFY(scores::RecordStore(root + "/settings-before").save({"T", "P1", "P2", "Score Difference = 9", "R"}, &reason));
        before = fileBytes(root + "/settings-before");
    }
    QVERIFY(QDir().mkpath(root + "/config"));
    const MountRun run =
        runInMount(Mount::SmallDisk, root + "/config", "record-on-full-disk:" + QString::number(leftBytes), root);
    REQUIRE_MOUNTED(run);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.facts.value("free").toLongLong() <= leftBytes, qPrintable(run.facts.value("free")));

    // The system's reason, and the file as it was (or still none); neither
    // a save file nor a lock file is left behind.
    QCOMPARE(run.messages.size(), 1);
    QCOMPARE(run.messages[0].first, Icon::Exclamation);
    QCOMPARE(run.messages[0].second,
             QStringLiteral("The highest record could not be saved in \"%1\": No space left on device.")
                 .arg(root + "/config/tavrolin.conf"));
    QCOMPARE(QFile::exists(root + "/settings-after"), savedBefore);
    QCOMPARE(fileBytes(root + "/settings-after"), before);
    QCOMPARE(run.facts.value("files"), savedBefore ? QStringLiteral("filler/tavrolin.conf") : QStringLiteral("filler"));
    // The game was logged all the same.
    QVERIFY(fileBytes(root + "/exe/TVL_Scores").endsWith("PLAYER 1 won this game\r\n\r\n"));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--inside-mount") == 0)
        return runInsideMount(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestScoreFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scorefaults.moc"
