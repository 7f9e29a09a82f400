// The help, the catalogue descriptions and the publisher's notices in real
// message boxes: the lines are broken by hand and the box must show them as
// they are, not re-flowed to its own width.

#include "publisher/catalogue.h"
#include "publisher/publisher.h"
#include "ui/dialogs.h"
#include "ui/helptext.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

struct SeenBox
{
    bool seen = false;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int lineSpacing = 0;
    int heightAtItsWidth = 0; // what the label needs at the width it was given
};

// Shows the text through the real dialogs, looks at the box while it is
// open, then closes it.
SeenBox showAndLook(const QString &text, ui::Dialogs::Icon icon, const QString &title)
{
    SeenBox seen;
    QWidget owner;
    ui::QtDialogs dialogs(&owner);
    QTimer look;
    look.setInterval(10);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        look.stop();
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (label) {
            seen.seen = true;
            seen.title = box->windowTitle();
            seen.icon = box->icon();
            seen.lineSpacing = QFontMetrics(label->font()).lineSpacing();
            seen.heightAtItsWidth = label->heightForWidth(label->contentsRect().width());
        }
        box->accept();
    });
    look.start();
    QTimer::singleShot(5000, [] {
        if (QWidget *stuck = QApplication::activeModalWidget())
            stuck->close();
    });
    dialogs.message(text, icon, ui::Dialogs::Buttons::Ok, title);
    return seen;
}

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void linesAreShownAsBroken_data();
    void linesAreShownAsBroken();
};

void TestMessageBox::linesAreShownAsBroken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shownTitle");

    QTest::newRow("help") << ui::helpText() << int(ui::Dialogs::Icon::Information) << QString()
                          << QStringLiteral("Tavrolin");
    for (int i = 0; i < publisher::CatalogueSize; ++i) {
        const QStringList boxes = publisher::catalogueBoxes(i);
        for (int b = 0; b < boxes.size(); ++b)
            QTest::addRow("entry %d box %d", i, b + 1) << boxes[b] << int(ui::Dialogs::Icon::None)
                                                       << publisher::catalogueTitle(i) << publisher::catalogueTitle(i);
    }
    QTest::newRow("no browser") << publisher::browserFailedMessage(publisher::webAddress())
                                << int(ui::Dialogs::Icon::Exclamation) << QString() << QStringLiteral("Tavrolin");
    QTest::newRow("contact") << publisher::contactNotice() << int(ui::Dialogs::Icon::Information) << QString()
                             << QStringLiteral("Tavrolin");
}

void TestMessageBox::linesAreShownAsBroken()
{
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, shownTitle);

    const SeenBox seen = showAndLook(text, ui::Dialogs::Icon(icon), title);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, shownTitle);
    QCOMPARE(seen.icon == QMessageBox::NoIcon, ui::Dialogs::Icon(icon) == ui::Dialogs::Icon::None);

    // As many rows as the text has lines; a re-flowed text would need more.
    const int lines = int(text.count("\r\n")) + 1;
    QVERIFY2(seen.heightAtItsWidth < seen.lineSpacing * (lines + 1),
             qPrintable(QString("%1 px for %2 lines of %3 px").arg(seen.heightAtItsWidth).arg(lines).arg(seen.lineSpacing)));
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
