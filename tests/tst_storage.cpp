// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// What the game stores, and what can stand where it stores it: the settings
// file read and written in the game's own text format (and by QSettings'
// INI format alike), stored files that are pipes or devices, a log larger
// than the board shows, and names kept exactly as typed.

#include "scores/players.h"
#include "scores/record.h"
#include "scores/scoreboard.h"
#include "scores/settingsformat.h"
#include "scores/storage.h"
#include "support/gamedriver.h"
#include "support/tempstorage.h"
#include "support/textlayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::fileBytes;
using testing::GameDriver;
using testing::writeFile;
using Icon = ui::Dialogs::Icon;

namespace {

const QList<int> kZeros{0, 0, 0, 0, 0, 0, 0};

// Texts a player can make the record hold, and what QSettings' escapes and
// typed forms make of them.
void addTexts()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("PLAYER 1 : +(9)+(-8) = 1");
    QTest::newRow("typed form inside") << QStringLiteral("Bob@Variant(1) had won the Game.");
    QTest::newRow("typed form first") << QStringLiteral("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPointF\\0)");
    QTest::newRow("at signs") << QStringLiteral("@@x@");
    QTest::newRow("escape spelt out") << QStringLiteral("\\x40Variant(x) \\n \\\\ \\");
    QTest::newRow("byte array form") << QStringLiteral("@ByteArray(abc)");
    QTest::newRow("quotes, commas, semicolons") << QStringLiteral("\"a\", b; c = d, e");
    QTest::newRow("outer spaces") << QStringLiteral("  spaced  ");
    QTest::newRow("tab then hex digits") << QStringLiteral("a\tbeef\t1");
    QTest::newRow("non-ASCII") << QStringLiteral("\u05E9\u05E8\u05D4 \u00E9\u00DF \U0001F600 \u2068x\u2069");
    QTest::newRow("empty") << QString();
}

QString section(const QString &key)
{
    return QStringLiteral("Highest Record/") + key;
}

// A descriptor that tests hold open on a pipe, closed with the test.
struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

class TestStorage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // The settings format.
    void readsWhatQtWrites_data() { addTexts(); }
    void readsWhatQtWrites();
    void writesWhatQtWrites_data() { addTexts(); }
    void writesWhatQtWrites();
    void typedFormsStayText();
    void strangeKeysReadBack();
    void typedSyntaxInANameKeepsTheRecord_data();
    void typedSyntaxInANameKeepsTheRecord();

    // Pipes and devices, and a log beyond the board's bound.
    void logIsAPipe();
    void logIsEndless();
    void settingsFileIsNotRegular_data();
    void settingsFileIsNotRegular();
    void boardReadsABoundedPart();

    // Where the log goes.
    void installedCopyLogsInTheDataFolder();

    // Names.
    void namesStoredAsTyped_data();
    void namesStoredAsTyped();
    void shownLineKeepsTextAndDirection_data();
    void shownLineKeepsTextAndDirection();

private:
    QString settings() const { return d->storage.settingsFile(); }
    QString logPath() const { return d->storage.besideExecutable(); }
    void playWin()
    {
        d->window().Resetz_Click();
        d->playGame(QList<int>{9, 9, 5} + kZeros, QList<int>{9, 1, 1} + kZeros); // 23 to 11
    }
    QString boardText()
    {
        if (!d->window().findChild<QGroupBox *>("Frame4")->isHidden())
            d->window().ScoreBoard_Click();
        d->window().ScoreBoard_Click();
        return d->window().findChild<QPlainTextEdit *>("Text1")->toPlainText();
    }
    QString lastMessage() const { return d->dialogs.messages.isEmpty() ? QString() : d->dialogs.messages.last().text; }

    std::unique_ptr<GameDriver> d;
};

void TestStorage::init()
{
    d = std::make_unique<GameDriver>();
    d->settleBoard();
    d->dialogs.messages.clear();
    QVERIFY(QDir().mkpath(QFileInfo(settings()).absolutePath()));
    // A pipe or a device must never make a test wait for good.
    ::alarm(60);
}

void TestStorage::cleanup()
{
    ::alarm(0);
    d.reset();
}

// A file the game wrote before (QSettings' INI format) reads back the same.
void TestStorage::readsWhatQtWrites()
{
    QFETCH(QString, text);
    {
        QSettings qt(settings(), QSettings::IniFormat);
        qt.setValue(section("Player1"), text);
        qt.setValue(QStringLiteral("Other/key"), QStringLiteral("kept"));
    }
    QCOMPARE(scores::RecordStore(settings()).values()[1], text);
    QCOMPARE(scores::RecordStore(settings()).value(QStringLiteral("Player1")), text);
}

// What the game writes is byte for byte what QSettings' INI format writes,
// so an earlier version of the game reads it back.
void TestStorage::writesWhatQtWrites()
{
    QFETCH(QString, text);
    const scores::RecordValues values{QStringLiteral("Scores of Game ending on 07-03-2026 21:05:03"), text,
                                      QStringLiteral("B : +(0) = 0"), QStringLiteral("Score Difference = 9"),
                                      text + QStringLiteral(" had won the Game.")};
    QString reason;
    QVERIFY2(scores::RecordStore(settings()).save(values, &reason), qPrintable(reason));
    const QString qtFile = d->storage.root() + QStringLiteral("/qt.conf");
    {
        QSettings qt(qtFile, QSettings::IniFormat);
        for (size_t i = 0; i < values.size(); ++i)
            qt.setValue(section(scores::recordKeys()[i]), values[i]);
    }
    QCOMPARE(fileBytes(settings()), fileBytes(qtFile));
    const QSettings back(settings(), QSettings::IniFormat);
    QCOMPARE(back.value(section("Player1")).toString(), text);
}

// Values in QSettings' typed forms are never decoded: they are texts, kept
// byte for byte when the record beside them is saved or cleared.
void TestStorage::typedFormsStayText()
{
    const QByteArray other = "[Other]\nbig=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPointF\\0\\xff\\xff\\xff\\xff)\n"
                             "date=@DateTime(\\0\\0\\0\\x10\\0\\x7f\\xff\\xff)\nbytes=@ByteArray(\\xff\\0)\n";
    writeFile(settings(), other + "\n[Highest%20Record]\nGameTime=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\aQPointF\\0)\n"
                                  "ScoreDiff=\\x40Variant(x)\n");
    const scores::RecordValues before = scores::RecordStore(settings()).values();
    const QString nul(1, QChar(0));
    QCOMPARE(before[0], QStringLiteral("@Variant(") + nul.repeated(3) + QChar(0x7f) + nul.repeated(3)
                            + QStringLiteral("\aQPointF") + nul + QLatin1Char(')'));
    QCOMPARE(before[3], QStringLiteral("@Variant(x)"));

    // "@Variant(x)" holds no difference: the game takes the record, and the
    // other section stays as it was.
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(lastMessage()));
    QCOMPARE(scores::RecordStore(settings()).values()[3], QStringLiteral("Score Difference = 12"));
    auto lines = [](const QByteArray &text) {
        QList<QByteArray> sorted = text.split('\n');
        sorted.removeAll(QByteArray());
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    };
    const QList<QByteArray> kept = lines(fileBytes(settings()));
    for (const QByteArray &line : lines(other))
        QVERIFY2(kept.contains(line), line.constData());

    d->dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    d->window().ClearScores_Click();
    QCOMPARE(lastMessage(), QStringLiteral("All Records Cleared Successfully."));
    QCOMPARE(lines(fileBytes(settings())), lines(other));
}

// Keys and sections nobody but a hand could write survive a save of the
// record beside them, whatever their characters.
void TestStorage::strangeKeysReadBack()
{
    QSettings::SettingsMap map;
    const QStringList keys{QStringLiteral("top"), QStringLiteral("General/k"), QStringLiteral("S/a/b"),
                           QStringLiteral("[x/=;\"%\\"), QStringLiteral("\u05D0\U0001F600/k \\")};
    for (const QString &key : keys)
        map.insert(key, key + QStringLiteral(" value"));
    QSettings::SettingsMap back;
    QVERIFY(scores::readSettings(scores::writeSettings(map), back));
    QCOMPARE(back.keys(), map.keys());
    for (const QString &key : keys)
        QCOMPARE(scores::settingsText(back.value(key)), key + QStringLiteral(" value"));
}

void TestStorage::typedSyntaxInANameKeepsTheRecord_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("variant") << QStringLiteral("Bob@Variant(1)");
    QTest::newRow("date and time") << QStringLiteral("x@DateTime(2)");
    QTest::newRow("escape spelt out") << QStringLiteral("\\x40Variant(");
    QTest::newRow("first character") << QStringLiteral("@Variant(\\0\\0\\0\\x7f)");
}

// A name that looks like QSettings' typed syntax is a name: its record is
// shown, later games are compared with it, and clearing deletes it.
void TestStorage::typedSyntaxInANameKeepsTheRecord()
{
    QFETCH(QString, name);
    d->dialogs.promptAnswers.enqueue(name);
    d->window().Player1_Click();
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(lastMessage()));

    d->window().RecordHigh_Click();
    const QStringList box = lastMessage().split(QStringLiteral("\r\n"));
    QCOMPARE(box.size(), 7);
    QCOMPARE(box[3], name + QStringLiteral(" : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23"));
    QCOMPARE(box[6], name + QStringLiteral(" had won the Game."));

    d->dialogs.messages.clear();
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(lastMessage()));
    d->dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    d->window().ClearScores_Click();
    QCOMPARE(lastMessage(), QStringLiteral("All Records Cleared Successfully."));
    QVERIFY(scores::RecordStore(settings()).values()[0].isEmpty());
}

// A pipe where the log should be: the board does not wait on it, and the
// game is not written into it, with or without a reader at its other end.
void TestStorage::logIsAPipe()
{
    const QString headerAlone = boardText(); // no log yet
    QCOMPARE(::mkfifo(QFile::encodeName(logPath()).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(boardText(), headerAlone);
    QVERIFY(timer.elapsed() < 2000);

    Fd reader{::open(QFile::encodeName(logPath()).constData(), O_RDONLY | O_NONBLOCK)};
    QVERIFY(reader.fd >= 0);
    for (int round = 0; round < 2; ++round) {
        d->dialogs.messages.clear();
        playWin();
        QCOMPARE(d->dialogs.messages.size(), 1);
        QCOMPARE(d->dialogs.messages[0].icon, Icon::Exclamation);
        QCOMPARE(d->dialogs.messages[0].text, scores::logWriteWarning(logPath(), "it is not a regular file"));
        char byte;
        QVERIFY(::read(reader.fd, &byte, 1) <= 0); // nothing went into the pipe
        ::close(reader.fd);
        reader.fd = -1; // the second round without a reader
    }
    // The record step still ran.
    QCOMPARE(scores::RecordStore(settings()).values()[3], QStringLiteral("Score Difference = 12"));
    QFileInfo info(logPath());
    QVERIFY(!info.isFile() && info.exists());
}

// A log that never ends (a device): the board shows its header alone.
void TestStorage::logIsEndless()
{
    const QString headerAlone = boardText(); // no log yet
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), logPath()));
    QCOMPARE(boardText(), headerAlone);
    QCOMPARE(scores::readBoardText(logPath()), scores::boardHeader());
}

void TestStorage::settingsFileIsNotRegular_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("a pipe") << true;
    QTest::newRow("a link to /dev/zero") << false;
}

// The settings file is a pipe or a device: nothing waits on it or reads
// it without end, nothing replaces it, and the players are told.
void TestStorage::settingsFileIsNotRegular()
{
    QFETCH(bool, pipe);
    if (pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(settings()).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), settings()));

    playWin();
    QCOMPARE(d->dialogs.messages.size(), 1);
    QVERIFY2(lastMessage().contains(settings()) && lastMessage().contains("it is not a regular file"),
             qPrintable(lastMessage()));
    QVERIFY(fileBytes(logPath()).endsWith("PLAYER 1 won this game\r\n\r\n"));

    d->window().RecordHigh_Click();
    QCOMPARE(lastMessage(), QStringLiteral("NO RECORD FOUND TO DISPLAY"));

    d->dialogs.answers.enqueue(ui::Dialogs::Answer::Yes);
    d->window().ClearScores_Click();
    QCOMPARE(d->dialogs.messages.last().icon, Icon::Exclamation);
    QVERIFY2(lastMessage().contains(QStringLiteral("The highest record in \"%1\" could not be deleted").arg(settings())),
             qPrintable(lastMessage()));
    QVERIFY(!QFile::exists(logPath()));

    QFileInfo info(settings());
    QVERIFY(pipe ? (!info.isFile() && info.exists()) : info.isSymLink());
    QVERIFY(!QFile::exists(settings() + ".lock"));
}

// The board reads a log up to its bound and shows the whole lines read by
// then, however large the file.
void TestStorage::boardReadsABoundedPart()
{
    const QByteArray record = "Scores of Game ending on 07-03-2026 21:05:03\r\n"
                              "PLAYER 1 : +(9)+(7)+(-2)+(0)+(5)+(1)+(3)+(-8)+(9)+(7) = 31\r\n"
                              "PLAYER 2 : +(9)+(1)+(1)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 11\r\n"
                              "Score Difference = 20\r\nPLAYER 1 won this game\r\n\r\n";
    // A log of records past the bound, then 256 MB more (a sparse tail).
    const qint64 records = scores::MaxBoardLogBytes / record.size() + 100;
    {
        QFile log(logPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
        QByteArray chunk = record.repeated(1000);
        for (qint64 written = 0; written < records; written += 1000)
            QVERIFY(log.write(chunk) == chunk.size());
        QVERIFY(log.resize(log.size() + 256 * 1024 * 1024));
    }
    const QString board = scores::readBoardText(logPath());
    QVERIFY(board.size() <= scores::MaxBoardLogBytes);
    // Every line up to the bound, and nothing beyond it but whole lines.
    const QStringList lines = board.split(QRegularExpression(QStringLiteral("[\\n\\x{2028}]")));
    const qint64 inBound = scores::MaxBoardLogBytes / record.size() * 6;
    QVERIFY2(lines.size() >= inBound && lines.size() <= inBound + 2 + 6, qPrintable(QString::number(lines.size())));
    const QStringList recordLines = QString::fromLatin1(record).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.mid(0, 3), (QStringList{QStringLiteral("\t\tSCORE BOARD"), QString(), recordLines[0]}));
    QVERIFY2(recordLines.contains(lines.last()), qPrintable(lines.last()));
}

void TestStorage::namesStoredAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Hebrew") << QStringLiteral("\u05E9\u05E8\u05D4 \u05DB\u05D4\u05DF");
    QTest::newRow("Arabic with digits") << QStringLiteral("\u0639\u0644\u064A 42");
    QTest::newRow("direction marks") << QStringLiteral("\u200Fa\u200Eb");
    QTest::newRow("override left open") << QStringLiteral("\u202Eevil");
    QTest::newRow("isolate left open") << QStringLiteral("x\u2067\u05D0");
}

// Stored bytes are what the player typed; shown, the text after the name
// still reads from left to right, also for a record that an earlier version
// stored with the name isolated.
void TestStorage::namesStoredAsTyped()
{
    QFETCH(QString, name);
    const QString old = QChar(0x2068) + QStringLiteral("\u05D0\u05D1") + QChar(0x2069);
    const QByteArray oldRecord = "Scores of Game ending on 01-01-2026 10:00:00\r\n" + old.toUtf8()
        + " : +(9)+(0)+(0)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 9\r\nB : +(0)+(0)+(0)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 0\r\n"
          "Score Difference = 9\r\n" + old.toUtf8() + " won this game\r\n\r\n";
    writeFile(logPath(), oldRecord);

    d->dialogs.promptAnswers.enqueue(name);
    d->window().Player1_Click();
    playWin();
    QVERIFY2(d->dialogs.messages.isEmpty(), qPrintable(lastMessage()));

    const QString suffix = QStringLiteral(" : +(9)+(9)+(5)+(0)+(0)+(0)+(0)+(0)+(0)+(0) = 23");
    const QByteArray log = fileBytes(logPath());
    QVERIFY(log.startsWith(oldRecord));
    const QStringList lines = QString::fromUtf8(log.mid(oldRecord.size())).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[1], name + suffix);
    QCOMPARE(lines[4], name + QStringLiteral(" won this game"));
    const QSettings stored(settings(), QSettings::IniFormat);
    QCOMPARE(stored.value(section("Player1")).toString(), name + suffix);
    QCOMPARE(stored.value(section("GameResult")).toString(), name + QStringLiteral(" had won the Game."));

    // Shown: the box and the board, the old record's lines included.
    d->window().RecordHigh_Click();
    const QStringList box = lastMessage().split(QStringLiteral("\r\n"));
    QCOMPARE(box.size(), 7);
    QVERIFY(testing::setOutLeftToRight(box[3], box[3].size() - suffix.size(), box[3].size()));
    QVERIFY(testing::setOutLeftToRight(box[6], box[6].size() - 18, box[6].size()));
    const QStringList board = boardText().split(QRegularExpression(QStringLiteral("[\\n\\x{2028}]")));
    QCOMPARE(board.size(), 2 + 12);
    for (int line : {3, 9}) {
        const QString &shown = board[line];
        const qsizetype at = shown.lastIndexOf(QStringLiteral(" : "));
        QVERIFY2(at > 0 && testing::setOutLeftToRight(shown, at, shown.size()), qPrintable(shown));
    }
    for (int line : {6, 12})
        QVERIFY2(testing::setOutLeftToRight(board[line], board[line].size() - 14, board[line].size()),
                 qPrintable(board[line]));
    QCOMPARE(fileBytes(logPath()), log); // showing changed nothing
}

void TestStorage::shownLineKeepsTextAndDirection_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("readsFrom"); // from here to the end reads left to right
    QTest::newRow("plain") << QStringLiteral("PLAYER 1 won this game") << 0;
    QTest::newRow("Hebrew name") << QStringLiteral("\u05E9\u05E8\u05D4 : +(3)+(-2) = 1") << 3;
    QTest::newRow("Hebrew in the middle") << QStringLiteral("Score \u05D0\u05D1 12 (x)") << 9;
    QTest::newRow("override") << QStringLiteral("\u202Eab won this game") << 3;
    QTest::newRow("unmatched pop") << QStringLiteral("a\u2069\u05D0 b") << 3;
    QTest::newRow("emoji") << QStringLiteral("\U0001F600 won this game") << 2;
}

// Shown, a line keeps every character it holds but for the marks that
// isolate it, and what follows its right-to-left parts reads as written.
void TestStorage::shownLineKeepsTextAndDirection()
{
    QFETCH(QString, line);
    QFETCH(int, readsFrom);
    const QString shown = scores::shownLine(line);
    auto visible = [](QString text) {
        text.removeIf([](QChar c) { return c.unicode() >= 0x2066 && c.unicode() <= 0x2069; });
        return text;
    };
    QCOMPARE(visible(shown), visible(line));
    const QString tail = line.mid(readsFrom);
    const qsizetype at = shown.lastIndexOf(tail);
    QVERIFY2(at >= 0 && testing::setOutLeftToRight(shown, at, at + tail.size()), qPrintable(shown));
    if (!scores::needsIsolation(line))
        QCOMPARE(shown, line);
}

// An installed copy writes only to the user's data folder, even where the
// folder beside it takes writes (root's /usr/games); a build does not count
// as installed and keeps writing beside itself.
void TestStorage::installedCopyLogsInTheDataFolder()
{
    const QString exeFolder = d->storage.exeFolder;
    const QString dataFolder = d->storage.dataDir;
    QCOMPARE(scores::chooseLogPath(exeFolder, dataFolder, false), logPath());
    QCOMPARE(scores::chooseLogPath(exeFolder, dataFolder, true), d->storage.inDataFolder());

    d->storage.installed = true;
    playWin();
    QVERIFY(!QFileInfo::exists(logPath()));
    QFile log(d->storage.inDataFolder());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("\r\n"), 6);

    // The module's installed place is found from the executable's folder.
    const QString module = scores::installedModulePath(QStringLiteral("/opt/x/games"));
    QVERIFY2(module.startsWith(QStringLiteral("/opt/x/")) && module.endsWith(QStringLiteral("/tavrolin/libtavrolin-sound.so")),
             qPrintable(module));
    QVERIFY(!scores::SystemStorage().isInstalled()); // this test program runs from the build
}

QTEST_MAIN(TestStorage)
#include "tst_storage.moc"
