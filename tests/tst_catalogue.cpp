// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The software catalogue: every description parsed and held against its
// row of the entries table, the split description, the game's own text, the
// index rule, and the entries as the player clicks and points at them.

#include "publisher/catalogue.h"
#include "support/gamedriver.h"
#include "ui/gamelabel.h"
#include "ui/numgame.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSet>
#include <QTest>

#include <memory>

namespace {

const QString kTrialTitle = QStringLiteral("Ormandi Corporate Product");
const QString kFreeTitle = QStringLiteral("A FREEWARE: Courtesy Ormandi");

// One row of the entries table: the heading's indent and, per box, the
// number of lines of each paragraph of the body.
struct Row
{
    const char *indent;
    QList<QList<int>> boxes;
};

// The second box of entry 2 is "Continued..." followed by four lines, all
// one paragraph.
const Row kRows[publisher::CatalogueSize] = {
    {"\t  ", {{4, 3, 4}}},
    {"\t    ", {{4}}},
    {"\t\t\t    ", {{12}, {1 + 4}}},
    {"\t\t", {{3, 8}}},
    {"\t\t", {{5}}},
    {"\t\t", {{4}}},
    {"\t", {{5, 3, 3}}},
    {"\t\t\t", {{2, 2, 2, 2, 2}}},
    {"\t\t\t", {{3}}},
    {"\t\t\t", {{1}}},
    {"\t\t\t", {{5, 3}}},
    {"\t\t\t", {{6, 1}}},
    {"\t\t\t", {{3}}},
    {"\t\t\t", {{5}}},
};

// A description box taken apart the way a reader sees it.
struct ParsedBox
{
    QString indent;
    QString heading;
    QList<QStringList> paragraphs;
    QString error; // why the text is not a well-formed box, if it is not
};

ParsedBox parseBox(const QString &text)
{
    ParsedBox box;
    const QStringList lines = text.split("\r\n");
    for (const QString &line : lines) {
        if (line.contains('\r') || line.contains('\n')) {
            box.error = "a line break other than CR LF";
            return box;
        }
        if (line.size() > 101) {
            box.error = QString("a line of %1 characters: %2").arg(line.size()).arg(line);
            return box;
        }
    }
    if (lines.size() < 3 || !lines[1].isEmpty()) {
        box.error = "no empty line after the heading";
        return box;
    }
    if (lines.last().isEmpty()) {
        box.error = "a line break at the end";
        return box;
    }
    const QString &first = lines[0];
    int tabs = 0, spaces = 0;
    while (tabs < first.size() && first[tabs] == '\t')
        ++tabs;
    while (tabs + spaces < first.size() && first[tabs + spaces] == ' ')
        ++spaces;
    box.indent = first.left(tabs + spaces);
    box.heading = first.mid(tabs + spaces);

    box.paragraphs.append(QStringList());
    for (int i = 2; i < lines.size(); ++i) {
        if (!lines[i].isEmpty()) {
            box.paragraphs.last().append(lines[i]);
        } else if (box.paragraphs.last().isEmpty()) {
            box.error = "two empty lines in a row";
            return box;
        } else {
            box.paragraphs.append(QStringList());
        }
    }
    return box;
}

QList<int> lineCounts(const ParsedBox &box)
{
    QList<int> counts;
    for (const QStringList &paragraph : box.paragraphs)
        counts.append(int(paragraph.size()));
    return counts;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void parserRejectsMalformedBoxes();
    void entryFollowsItsRow_data();
    void entryFollowsItsRow();
    void entriesAreAllDifferent();
    void splitDescription();
    void gameDescriptionIsExact();
    void indexRule();

    void init();
    void cleanup();
    void clickingAnEntryShowsItsBoxes();
    void lastTrialAndFirstFreeEntryDifferInTitle();
    void handlerTakesAnyIndex();
    void pointingGivesTheHandForGood();

private:
    ui::GameLabel *entry(int i) const { return driver->label(QStringLiteral("Label11(%1)").arg(i)); }

    std::unique_ptr<testing::GameDriver> driver;
    testing::FakeDialogs *dialogs = nullptr;
    ui::NumGame *window = nullptr;
};

// The checks below are only as good as the parser: it must notice each way
// a box can be malformed.
void TestCatalogue::parserRejectsMalformedBoxes()
{
    const ParsedBox good = parseBox("\t\t  NAME 1.0\r\n\r\nOne\r\ntwo\r\n\r\nthree");
    QVERIFY2(good.error.isEmpty(), qPrintable(good.error));
    QCOMPARE(good.indent, QString("\t\t  "));
    QCOMPARE(good.heading, QString("NAME 1.0"));
    QCOMPARE(lineCounts(good), QList<int>({2, 1}));

    QVERIFY(!parseBox("\tNAME\r\n\r\nOne\ntwo").error.isEmpty());
    QVERIFY(!parseBox("\tNAME\r\n\r\nOne\r\n").error.isEmpty());
    QVERIFY(!parseBox("\tNAME\r\nOne").error.isEmpty());
    QVERIFY(!parseBox("\tNAME\r\n\r\nOne\r\n\r\n\r\ntwo").error.isEmpty());
    QVERIFY(!parseBox("\tNAME\r\n\r\n" + QString(102, 'x')).error.isEmpty());
    QVERIFY(parseBox("\tNAME\r\n\r\n" + QString(101, 'x')).error.isEmpty());
}

void TestCatalogue::entryFollowsItsRow_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < publisher::CatalogueSize; ++i)
        QTest::addRow("entry %d", i) << i;
}

void TestCatalogue::entryFollowsItsRow()
{
    QFETCH(int, index);
    const Row &row = kRows[index];
    const QStringList boxes = publisher::catalogueBoxes(index);
    QCOMPARE(boxes.size(), row.boxes.size());

    QCOMPARE(publisher::catalogueTitle(index), index <= 5 ? kTrialTitle : kFreeTitle);

    const QString caption = publisher::catalogueCaption(index);
    QVERIFY(!caption.isEmpty());
    for (int b = 0; b < boxes.size(); ++b) {
        const ParsedBox box = parseBox(boxes[b]);
        QVERIFY2(box.error.isEmpty(), qPrintable(box.error));
        QCOMPARE(box.indent, QString::fromLatin1(row.indent));
        // The heading names the listed product in capitals, perhaps with
        // its version.
        QVERIFY(!box.heading.isEmpty());
        QCOMPARE(box.heading, box.heading.toUpper());
        QVERIFY2(box.heading.startsWith(caption.toUpper()), qPrintable(box.heading));
        QCOMPARE(box.heading, box.heading.trimmed());
        QCOMPARE(lineCounts(box), row.boxes[b]);
    }
}

void TestCatalogue::entriesAreAllDifferent()
{
    QSet<QString> captions, texts;
    for (int i = 0; i < publisher::CatalogueSize; ++i) {
        captions.insert(publisher::catalogueCaption(i));
        texts.insert(publisher::catalogueBoxes(i).join(QString()));
    }
    QCOMPARE(captions.size(), publisher::CatalogueSize);
    QCOMPARE(texts.size(), publisher::CatalogueSize);
}

void TestCatalogue::splitDescription()
{
    const QStringList boxes = publisher::catalogueBoxes(2);
    QCOMPARE(boxes.size(), 2);
    const QStringList first = boxes[0].split("\r\n");
    const QStringList second = boxes[1].split("\r\n");

    // The first box breaks off inside a word: its first letters and six
    // full stops.
    const QString lastLine = first.last();
    QVERIFY2(lastLine.endsWith("......"), qPrintable(lastLine));
    QVERIFY(!lastLine.endsWith("......."));
    const QString fragment = lastLine.chopped(6).section(' ', -1);
    QVERIFY2(!fragment.isEmpty() && fragment.at(0).isLetter(), qPrintable(lastLine));

    // The second repeats the heading, says it is continued and starts again
    // with the whole word.
    QCOMPARE(second[0], first[0]);
    QCOMPARE(second[1], QString());
    QCOMPARE(second[2], QString("Continued..."));
    const QString wholeWord = second[3].section(' ', 0, 0);
    QVERIFY2(wholeWord.startsWith(fragment) && wholeWord.size() > fragment.size(), qPrintable(second[3]));
    QVERIFY(!boxes[1].contains("......"));
}

void TestCatalogue::gameDescriptionIsExact()
{
    const QStringList expected = {
        "\t\t\tTAVROLIN",
        "",
        "TAVROLIN: This is a simple game like that of a dice. Two players are required to",
        "play this game. Each will try to obtain higher points by clicking any number of the series of the",
        "numbers arranged in a circular fashion. It is important to note that the numbers appearing are",
        "illusive and do not represent the actual number which is hidden. The hidden number appears on",
        "clicking it and the player scores points corresponding to that number. It may be noted that each",
        "series is a unique which makes the game more interesting.",
        "",
        "Each Player has ten attempts to go. Player names may be inserted from the menu item above.",
    };
    QCOMPARE(publisher::catalogueBoxes(11), QStringList{expected.join("\r\n")});
    QCOMPARE(publisher::catalogueCaption(11), QString("Tavrolin"));
    QCOMPARE(publisher::catalogueTitle(11), kFreeTitle);
}

void TestCatalogue::indexRule()
{
    for (int i = 0; i <= 12; ++i)
        QCOMPARE(publisher::catalogueEntry(i), i);
    for (int i : {13, 14, 99, 32767, -1, -32768})
        QCOMPARE(publisher::catalogueEntry(i), 13);

    const QStringList last = publisher::catalogueBoxes(13);
    QCOMPARE(publisher::catalogueBoxes(14), last);
    QCOMPARE(publisher::catalogueBoxes(-1), last);
    QCOMPARE(publisher::catalogueCaption(-1), publisher::catalogueCaption(13));
    QCOMPARE(publisher::catalogueTitle(-1), kFreeTitle);
    QCOMPARE(publisher::catalogueTitle(14), kFreeTitle);
    QVERIFY(publisher::catalogueBoxes(12) != last);
}

void TestCatalogue::init()
{
    driver = std::make_unique<testing::GameDriver>();
    dialogs = &driver->dialogs;
    window = &driver->window();
    window->show();
}

void TestCatalogue::cleanup()
{
    driver.reset();
}

void TestCatalogue::clickingAnEntryShowsItsBoxes()
{
    const game::GameState before = window->state();
    for (int i = 0; i < publisher::CatalogueSize; ++i) {
        dialogs->messages.clear();
        ui::GameLabel *label = entry(i);
        QVERIFY(label);
        QCOMPARE(label->text(), publisher::catalogueCaption(i));
        QTest::mouseClick(label, Qt::LeftButton);

        const QStringList boxes = publisher::catalogueBoxes(i);
        QCOMPARE(dialogs->messages.size(), boxes.size());
        for (int b = 0; b < boxes.size(); ++b) {
            const testing::ShownMessage &shown = dialogs->messages[b];
            QCOMPARE(shown.text, boxes[b]);
            QCOMPARE(shown.title, i <= 5 ? kTrialTitle : kFreeTitle);
            QCOMPARE(shown.icon, ui::Dialogs::Icon::None);
            QCOMPARE(shown.buttons, ui::Dialogs::Buttons::Ok);
        }
    }
    // The catalogue never touches the game.
    QCOMPARE(window->state().HitCount, before.HitCount);
    QCOMPARE(window->state().HitHistory1, before.HitHistory1);
    QVERIFY(dialogs->prompts.isEmpty());
}

void TestCatalogue::lastTrialAndFirstFreeEntryDifferInTitle()
{
    window->Label11_Click(5);
    window->Label11_Click(6);
    QCOMPARE(dialogs->messages.size(), 2);
    QCOMPARE(dialogs->messages[0].title, kTrialTitle);
    QCOMPARE(dialogs->messages[1].title, kFreeTitle);
}

void TestCatalogue::handlerTakesAnyIndex()
{
    window->Label11_Click(13);
    window->Label11_Click(14);
    window->Label11_Click(-3);
    QCOMPARE(dialogs->messages.size(), 3);
    for (const testing::ShownMessage &shown : dialogs->messages) {
        QCOMPARE(shown.text, dialogs->messages[0].text);
        QCOMPARE(shown.title, kFreeTitle);
    }
    QVERIFY(dialogs->messages[0].text.contains(publisher::catalogueCaption(13).toUpper()));
    window->Label11_MouseMove(14); // no such entry: nothing to point at
    window->Label11_MouseMove(-1);
}

void TestCatalogue::pointingGivesTheHandForGood()
{
    const QImage hand = QPixmap(":/icons/103.ico").toImage();
    QVERIFY2(!hand.isNull(), "the hand pointer image is missing");

    for (int i = 0; i < publisher::CatalogueSize; ++i) {
        ui::GameLabel *label = entry(i);
        QVERIFY(!label->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
    }

    ui::GameLabel *pointed = entry(4);
    const QColor colour = pointed->textColor();
    const QString caption = pointed->text();
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), pointed->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pointed, &move);

    QCOMPARE(pointed->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(pointed->cursor().pixmap().toImage().convertToFormat(hand.format()), hand);
    QCOMPARE(pointed->textColor(), colour);
    QCOMPARE(pointed->text(), caption);
    QVERIFY(dialogs->messages.isEmpty());
    // Only the entry pointed at has it so far.
    QCOMPARE(entry(3)->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(entry(5)->cursor().shape(), Qt::ArrowCursor);

    // It keeps the hand after the pointer has moved on and after a click.
    QTest::mouseClick(entry(9), Qt::LeftButton);
    QCOMPARE(pointed->cursor().shape(), Qt::BitmapCursor);
    window->Label11_MouseMove(11);
    QCOMPARE(entry(11)->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(pointed->cursor().shape(), Qt::BitmapCursor);
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
