// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The real message boxes and the name prompt. The help, the catalogue
// descriptions, the publisher's notices and the messages that carry names are
// shown as they are written: not re-flowed to the box's width, not cut off
// and never read as markup. Then the boxes are answered by keys and clicks,
// as players answer them, through the window's own handlers.

#include "publisher/catalogue.h"
#include "publisher/publisher.h"
#include "scores/players.h"
#include "scores/record.h"
#include "support/fakes.h"
#include "support/recordingsound.h"
#include "support/tempstorage.h"
#include "ui/dialogs.h"
#include "ui/gamelabel.h"
#include "ui/helptext.h"
#include "ui/numgame.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

using Icon = ui::Dialogs::Icon;

int wideScreen = 0; // the screen's width in pixels, when main() chose it

// Answers the boxes the code under test opens, one step per box, in order.
// A step returns what went wrong, or nothing. A box that its step leaves
// open, a box no step was written for and a box that stays unanswered for
// five seconds are rejected and noted: a wrong answer fails the test and
// never hangs it.
class Answerer
{
public:
    using Step = std::function<QString(QWidget *box)>;

    explicit Answerer(QList<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(10);
        m_idle.start();
    }

    qsizetype answered() const { return m_next; }
    QString faults() const { return m_faults.join(QStringLiteral("; ")); }

private:
    static void reject(QWidget *box)
    {
        if (auto *dialog = qobject_cast<QDialog *>(box))
            dialog->reject();
        else
            box->close();
    }

    void poll()
    {
        // A box is answered once it has the keyboard, as a player answers it.
        QWidget *box = QApplication::activeModalWidget();
        if (box && box->isVisible() && QApplication::activeWindow() == box) {
            m_idle.restart();
            if (m_next == m_steps.size()) {
                m_faults << QStringLiteral("a box no one expected: \"%1\"").arg(box->windowTitle());
                reject(box);
                return;
            }
            const QString fault = m_steps[m_next++](box);
            if (!fault.isEmpty())
                m_faults << QStringLiteral("box %1: %2").arg(m_next).arg(fault);
            if (box->isVisible()) {
                m_faults << QStringLiteral("box %1 stayed open").arg(m_next);
                reject(box);
            }
            return;
        }
        if (m_idle.elapsed() < 5000)
            return;
        m_idle.restart();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog *>(window) && window->isVisible()) {
                m_faults << QStringLiteral("\"%1\" open and not answered").arg(window->windowTitle());
                reject(window);
            }
        }
    }

    QList<Step> m_steps;
    qsizetype m_next = 0;
    QStringList m_faults;
    QTimer m_poll;
    QElapsedTimer m_idle;
};

// A key goes where a player's key goes: to the widget with the focus.
QString press(QWidget *box, Qt::Key key)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || (focus != box && !box->isAncestorOf(focus)))
        return QStringLiteral("nothing in the box has the keyboard focus");
    QTest::keyClick(focus, key);
    return {};
}

// What a reader sees of a box's rich text.
QString shownText(const QMessageBox &box)
{
    QTextDocument document;
    document.setHtml(box.text());
    return document.toPlainText();
}

QString withBareLineEnds(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QMessageBox::StandardButton standard(const QMessageBox &box, QAbstractButton *button)
{
    return button ? box.standardButton(button) : QMessageBox::NoButton;
}

struct SeenBox
{
    QString title;
    QString text; // as shown
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    qsizetype buttonCount = 0;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton answer = QMessageBox::NoButton; // the button the key pressed
};

// Notes what the message box shows, then answers it with the key.
Answerer::Step lookAndPress(SeenBox &seen, Qt::Key key)
{
    return [&seen, key](QWidget *widget) -> QString {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (!box)
            return QStringLiteral("not a message box");
        seen.title = box->windowTitle();
        seen.text = shownText(*box);
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.buttonCount = box->buttons().size();
        seen.defaultButton = standard(*box, box->defaultButton());
        const QString fault = press(box, key);
        seen.answer = standard(*box, box->clickedButton());
        return fault;
    };
}

// The game window as players get it, with its own real boxes; the clock,
// the random numbers, the sound and the storage are the tests' own.
struct RealWindow
{
    RealWindow()
    {
        ui::Services services;
        services.clock = &clock;
        services.random = &random;
        services.sound = &sound;
        services.storage = &storage;
        window = std::make_unique<ui::NumGame>(services);
    }
    QString label(const char *name) const { return window->findChild<ui::GameLabel *>(name)->text(); }
    QString action(const char *name) const { return window->findChild<QAction *>(name)->text(); }
    scores::RecordValues record() const { return scores::RecordStore(storage.settingsFile()).values(); }

    testing::FakeClock clock;
    testing::FakeRandom random;
    testing::RecordingSound sound;
    testing::TempStorage storage;
    std::unique_ptr<ui::NumGame> window;
};

enum class PromptAnswer { Ok, Escape, TabToCancel, ClickCancel };

struct SeenPrompt
{
    QString title;
    QString label;
    QString startText;
    bool typedIntoField = false;
};

// Notes what the prompt shows, types into its field and answers it.
Answerer::Step typeAndAnswer(SeenPrompt &seen, const QString &typed, PromptAnswer answer)
{
    return [&seen, typed, answer](QWidget *widget) -> QString {
        auto *prompt = qobject_cast<QInputDialog *>(widget);
        if (!prompt)
            return QStringLiteral("not a prompt");
        seen.title = prompt->windowTitle();
        seen.label = prompt->labelText();
        seen.startText = prompt->textValue();
        auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        seen.typedIntoField = field && prompt->isAncestorOf(field);
        if (!seen.typedIntoField)
            return QStringLiteral("the field does not have the focus");
        QTest::keyClicks(field, typed);

        const auto *buttons = prompt->findChild<QDialogButtonBox *>();
        QPushButton *cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
        switch (answer) {
        case PromptAnswer::Ok: return press(prompt, Qt::Key_Return);
        case PromptAnswer::Escape: return press(prompt, Qt::Key_Escape);
        case PromptAnswer::TabToCancel:
            for (int i = 0; i < 5 && cancel && QApplication::focusWidget() != cancel; ++i)
                press(prompt, Qt::Key_Tab);
            if (!cancel || QApplication::focusWidget() != cancel)
                return QStringLiteral("Tab does not reach Cancel");
            return press(prompt, Qt::Key_Return);
        case PromptAnswer::ClickCancel:
            if (!cancel)
                return QStringLiteral("no Cancel button");
            QTest::mouseClick(cancel, Qt::LeftButton);
            return {};
        }
        return {};
    };
}

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void linesAreShownAsBroken_data();
    void linesAreShownAsBroken();
    void okBoxesHaveOneButton_data();
    void okBoxesHaveOneButton();
    void clearQuestion_data();
    void clearQuestion();
    void namePrompt_data();
    void namePrompt();
    void typedNamesStayText();
};

void TestMessageBox::initTestCase()
{
    if (wideScreen > 0) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(qRound(screen->availableGeometry().width() * screen->devicePixelRatio()), wideScreen);
    }
}

void TestMessageBox::linesAreShownAsBroken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");

    QTest::newRow("help") << ui::helpText() << int(Icon::Information) << QString() << QStringLiteral("Tavrolin");
    for (int i = 0; i < publisher::CatalogueSize; ++i) {
        const QStringList boxes = publisher::catalogueBoxes(i);
        for (int b = 0; b < boxes.size(); ++b)
            QTest::addRow("entry %d box %d", i, b + 1) << boxes[b] << int(Icon::None) << publisher::catalogueTitle(i)
                                                       << publisher::catalogueTitle(i);
    }
    QTest::newRow("no browser") << publisher::browserFailedMessage(publisher::webAddress())
                                << int(Icon::Exclamation) << QString() << QStringLiteral("Tavrolin");
    QTest::newRow("contact") << publisher::contactNotice() << int(Icon::Information) << QString()
                             << QStringLiteral("Tavrolin");

    // Names are any text and as long as players like.
    QTest::newRow("name with markup") << scores::nameRefusal(QStringLiteral("<b>Eve & co &amp;  <i>"))
                                      << int(Icon::Critical) << QString() << QStringLiteral("Tavrolin");
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    const QFontMetrics metrics(QApplication::font());
    const QString part = QStringLiteral("<b>Eve & co ");
    const auto refusalAsWideAs = [&](int width) {
        const int repeats = (width - metrics.horizontalAdvance(scores::nameRefusal(QString()))) / metrics.horizontalAdvance(part);
        return scores::nameRefusal(part.repeated(qMax(1, repeats)));
    };
    QTest::newRow("long name") << refusalAsWideAs(screenWidth * 7 / 10) << int(Icon::Critical) << QString()
                               << QStringLiteral("Tavrolin");
    QTest::newRow("name wider than the screen") << refusalAsWideAs(screenWidth * 2) << int(Icon::Critical) << QString()
                                                << QStringLiteral("Tavrolin");
}

void TestMessageBox::linesAreShownAsBroken()
{
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);

    SeenBox seen;
    QRect screen, frame;
    int boxWidth = 0, besideText = 0, labelWidth = 0, labelHeight = 0, heightAtItsWidth = 0;
    QFont labelFont;
    const auto look = lookAndPress(seen, Qt::Key_Return);
    QWidget owner;
    ui::QtDialogs dialogs(&owner);
    Answerer answerer({[&](QWidget *widget) -> QString {
        if (auto *box = qobject_cast<QMessageBox *>(widget)) {
            screen = box->screen()->availableGeometry();
            frame = box->frameGeometry();
            // The label that shows the text, known by what it shows.
            for (const QLabel *label : box->findChildren<QLabel *>()) {
                if (label->text() == box->text()) {
                    labelFont = label->font();
                    labelWidth = label->width();
                    labelHeight = label->height();
                    heightAtItsWidth = label->heightForWidth(label->width());
                    boxWidth = box->width();
                    besideText = box->width() - label->width();
                }
            }
        }
        return look(widget);
    }});
    dialogs.message(text, Icon(icon), ui::Dialogs::Buttons::Ok, title);
    QVERIFY2(answerer.faults().isEmpty(), qPrintable(answerer.faults()));
    QVERIFY2(labelWidth > 0, "no label shows the box's text");

    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.icon == QMessageBox::NoIcon, Icon(icon) == Icon::None);
    // Every character as written, line ends and tabs included; no markup.
    const QString lines = withBareLineEnds(text);
    QCOMPARE(seen.text, lines);
    QVERIFY2(frame.left() >= screen.left() && frame.right() <= screen.right(),
             qPrintable(QStringLiteral("box at %1..%2 on a screen %3..%4")
                            .arg(frame.left()).arg(frame.right()).arg(screen.left()).arg(screen.right())));

    const QFontMetrics metrics(labelFont);
    int longest = 0;
    for (const QString &line : lines.split(QLatin1Char('\n')))
        longest = qMax(longest, metrics.boundingRect(QRect(), Qt::TextExpandTabs, line).width());
    const qsizetype lineCount = lines.count(QLatin1Char('\n')) + 1;
    const QString figures = QStringLiteral("label %1 x %2 px, needs %3 px at its width; longest line %4 px; %5 lines of %6 px")
                                .arg(labelWidth).arg(labelHeight).arg(heightAtItsWidth).arg(longest)
                                .arg(lineCount).arg(metrics.lineSpacing());
    if (longest + besideText + (frame.width() - boxWidth) <= screen.width()) {
        // As wide as the longest line, tabs taking no more room than they
        // take in the game's other texts, and no line re-flowed.
        QVERIFY2(labelWidth >= longest, qPrintable(figures));
        QVERIFY2(labelWidth <= longest + 2 * metrics.averageCharWidth(), qPrintable(figures));
        QVERIFY2(heightAtItsWidth < metrics.lineSpacing() * (lineCount + 1), qPrintable(figures));
    } else {
        // Too wide for the screen: wrapped at the screen's width, every
        // wrapped line still in the box.
        QVERIFY2(frame.width() > screen.width() * 9 / 10, qPrintable(figures));
        QVERIFY2(heightAtItsWidth >= metrics.lineSpacing() * (lineCount + 1), qPrintable(figures));
        QVERIFY2(labelHeight >= heightAtItsWidth, qPrintable(figures));
    }
}

void TestMessageBox::okBoxesHaveOneButton_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("qtIcon");
    QTest::addColumn<int>("key");
    const QList<std::pair<Icon, QMessageBox::Icon>> icons = {{Icon::Information, QMessageBox::Information},
                                                             {Icon::Exclamation, QMessageBox::Warning},
                                                             {Icon::Critical, QMessageBox::Critical}};
    const char *names[] = {"information", "exclamation", "critical"};
    for (int i = 0; i < 3; ++i) {
        QTest::addRow("%s, Return", names[i]) << int(icons[i].first) << int(icons[i].second) << int(Qt::Key_Return);
        QTest::addRow("%s, Escape", names[i]) << int(icons[i].first) << int(icons[i].second) << int(Qt::Key_Escape);
    }
}

void TestMessageBox::okBoxesHaveOneButton()
{
    QFETCH(int, icon);
    QFETCH(int, qtIcon);
    QFETCH(int, key);

    QWidget owner;
    ui::QtDialogs qtDialogs(&owner);
    ui::Dialogs &dialogs = qtDialogs; // asked as the handlers ask
    SeenBox seen;
    Answerer answerer({lookAndPress(seen, Qt::Key(key))});
    QCOMPARE(dialogs.message(QStringLiteral("All Records Cleared Successfully."), Icon(icon)), ui::Dialogs::Answer::Ok);
    QVERIFY2(answerer.faults().isEmpty(), qPrintable(answerer.faults()));
    QCOMPARE(int(seen.icon), qtIcon);
    QCOMPARE(seen.title, QStringLiteral("Tavrolin"));
    QCOMPARE(seen.buttonCount, 1);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.answer, QMessageBox::Ok);
}

void TestMessageBox::clearQuestion_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("yes");
    QTest::newRow("Return answers Yes") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape answers No") << int(Qt::Key_Escape) << false;
}

void TestMessageBox::clearQuestion()
{
    QFETCH(int, key);
    QFETCH(bool, yes);

    RealWindow game;
    const QString log = game.storage.besideExecutable();
    const QByteArray logged = "a game\r\n";
    testing::writeFile(log, logged);
    const scores::RecordValues record = {"T", "P1", "P2", "D", "R"};
    QString reason;
    QVERIFY(scores::RecordStore(game.storage.settingsFile()).save(record, &reason));

    SeenBox question, report;
    QList<Answerer::Step> steps = {lookAndPress(question, Qt::Key(key))};
    if (yes)
        steps << lookAndPress(report, Qt::Key_Return);
    Answerer answerer(steps);
    game.window->ClearScores_Click();
    QVERIFY2(answerer.faults().isEmpty(), qPrintable(answerer.faults()));
    QCOMPARE(answerer.answered(), steps.size());

    QCOMPARE(question.title, QStringLiteral("Tavrolin"));
    QCOMPARE(question.text, QStringLiteral("ALL previous score entries will be deleted permanently, are you sure?"));
    QCOMPARE(question.icon, QMessageBox::Critical);
    QCOMPARE(question.buttonCount, 2);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    QCOMPARE(question.answer, yes ? QMessageBox::Yes : QMessageBox::No);
    if (yes) {
        QCOMPARE(report.text, QStringLiteral("All Records Cleared Successfully."));
        QCOMPARE(report.icon, QMessageBox::Information);
        QVERIFY(!QFile::exists(log));
        QCOMPARE(game.record(), scores::RecordValues{});
    } else {
        QCOMPARE(testing::fileBytes(log), logged);
        QCOMPARE(game.record(), record);
    }
}

void TestMessageBox::namePrompt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("heading");

    QTest::newRow("typed, OK by Return") << "anna" << int(PromptAnswer::Ok) << "anna" << "ANNA's SCORE";
    QTest::newRow("nothing typed, OK") << "" << int(PromptAnswer::Ok) << "" << "'s SCORE";
    // Cancel answers the empty text, which the game takes like any name.
    QTest::newRow("Escape") << "anna" << int(PromptAnswer::Escape) << "" << "'s SCORE";
    QTest::newRow("Tab to Cancel, Return") << "anna" << int(PromptAnswer::TabToCancel) << "" << "'s SCORE";
    QTest::newRow("Cancel clicked") << "anna" << int(PromptAnswer::ClickCancel) << "" << "'s SCORE";
}

void TestMessageBox::namePrompt()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QString, name);
    QFETCH(QString, heading);

    RealWindow game;
    game.window->Label1_Click(0);
    QCOMPARE(game.window->state().HitCount, qint16(1));

    SeenPrompt seen;
    Answerer answerer({typeAndAnswer(seen, typed, PromptAnswer(answer))});
    game.window->Player1_Click();
    QVERIFY2(answerer.faults().isEmpty(), qPrintable(answerer.faults()));
    QCOMPARE(answerer.answered(), 1);
    QCOMPARE(seen.title, QStringLiteral("Play Tavrolin"));
    QCOMPARE(seen.label, QStringLiteral("ENTER FIRST PLAYER NAME"));
    QCOMPARE(seen.startText, QString());

    // Taken: the name, its menu item and heading, and a new game.
    QCOMPARE(game.window->state().PlayerName[0], name);
    QCOMPARE(game.action("Player1"), name + QStringLiteral(" - Change"));
    QCOMPARE(game.label("Label7"), heading);
    QCOMPARE(game.window->state().HitCount, qint16(0));
    QCOMPARE(game.label("Label17"), QStringLiteral("ITS TURN OF ") + name);
}

void TestMessageBox::typedNamesStayText()
{
    RealWindow game;
    const QString typed = QStringLiteral("<b>Eve & co");

    SeenPrompt second;
    {
        Answerer naming({typeAndAnswer(second, typed, PromptAnswer::Ok)});
        game.window->Player2_Click();
        QVERIFY2(naming.faults().isEmpty(), qPrintable(naming.faults()));
    }
    QCOMPARE(second.label, QStringLiteral("ENTER SECOND PLAYER NAME"));
    QCOMPARE(game.window->state().PlayerName[1], typed);

    // The same name in other letters is refused, by a box that shows it as typed.
    SeenPrompt first;
    SeenBox refusal;
    Answerer refusing({typeAndAnswer(first, typed.toUpper(), PromptAnswer::Ok), lookAndPress(refusal, Qt::Key_Return)});
    game.window->Player1_Click();
    QVERIFY2(refusing.faults().isEmpty(), qPrintable(refusing.faults()));
    QCOMPARE(refusing.answered(), 2);
    QCOMPARE(refusal.text, QStringLiteral("Player name must be other than <b>Eve & co."));
    QCOMPARE(refusal.icon, QMessageBox::Critical);
    QCOMPARE(refusal.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(game.window->state().PlayerName[0], QStringLiteral("PLAYER 1"));
}

// The boxes are looked at on a 1280 x 1024 screen, where a line can be wider
// than QMessageBox's own width cap and still fit on the screen.
int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && dir.isValid()) {
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly)
            && config.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1280, "height": 1024,)"
                            R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") > 0) {
            config.close();
            wideScreen = 1280;
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
        }
    }
    QApplication app(argc, argv);
    TestMessageBox test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_messagebox.moc"
