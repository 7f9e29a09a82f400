#include "ui/dialogs.h"

#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

namespace ui {

QString applicationTitle()
{
    return QStringLiteral("Tavrolin");
}

namespace {

// Message texts keep their CR LF line ends; Qt's labels want a bare LF.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Exclamation: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Message texts are broken into lines by hand and must not be re-flowed:
// the box's label is made wide enough for its longest line, tabs expanded.
void keepLineBreaks(QMessageBox &box, const QString &text)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    const int width = metrics.boundingRect(QRect(), Qt::TextExpandTabs, text).width() + metrics.averageCharWidth();
    const int room = box.screen() ? box.screen()->availableGeometry().width() - 120 : width; // icon, margins
    label->setMinimumWidth(qMin(width, room));
}

} // namespace

Dialogs::Answer QtDialogs::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setIcon(qtIcon(icon));
    box.setTextFormat(Qt::PlainText); // names typed by players are never markup
    box.setText(displayText(text));
    keepLineBreaks(box, displayText(text));
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::YesNo)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

QString QtDialogs::prompt(const QString &promptText, const QString &title)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, title.isEmpty() ? applicationTitle() : title,
                                                 promptText, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

} // namespace ui
