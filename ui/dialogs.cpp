// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/dialogs.h"

#include <QEvent>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

namespace ui {

QString applicationTitle()
{
    return QStringLiteral("Tavrolin");
}

namespace {

// Message texts keep their CR LF line ends; rich text wants a bare LF.
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

enum class Lines { Kept, WrappedAtScreen };

// The text as rich text that shows it character for character: escaped, so
// that names typed by players are never markup, and pre-formatted, so that
// spaces, tabs and line breaks stay as they are. Kept lines never wrap;
// otherwise a line wraps where it would not fit.
QString asShown(const QString &text, Lines lines)
{
    // The HTML reader drops a line break right after the opening tag and one
    // right before the closing tag; the extra ones keep the text's own.
    QString escaped = QLatin1Char('\n') + text.toHtmlEscaped();
    if (escaped.endsWith(QLatin1Char('\n')))
        escaped += QLatin1Char('\n');
    const QLatin1String space = lines == Lines::Kept ? QLatin1String("pre") : QLatin1String("pre-wrap");
    return QLatin1String("<p style=\"white-space:") + space + QLatin1String("\">") + escaped + QLatin1String("</p>");
}

// Message texts are broken into lines by hand and must not be re-flowed.
// QMessageBox sizes itself to its longest line, but only up to a cap well
// short of a wide screen, and would cut a longer line off; this box widens
// itself to the longest line as far as the screen allows, and wraps the
// lines at the screen's width when even that is too narrow.
class LinesBox final : public QMessageBox
{
public:
    LinesBox(QWidget *parent, const QString &text) : QMessageBox(parent), m_text(text)
    {
        setTextFormat(Qt::RichText);
        setText(asShown(m_text, Lines::Kept));
    }

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        // QMessageBox sets its size when shown and on every layout request.
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest)
            fitLines();
        return handled;
    }

private:
    void fitLines()
    {
        if (!isVisible() || !layout() || !screen())
            return;
        const QRect area = screen()->availableGeometry();
        const int room = area.width() - (frameGeometry().width() - width());
        if (!m_wrapped && layout()->totalMinimumSize().width() > room) {
            m_wrapped = true;
            setText(asShown(m_text, Lines::WrappedAtScreen)); // sizes the box again
        }
        const int wanted = m_wrapped ? room : layout()->totalMinimumSize().width();
        if (wanted <= width())
            return;
        const int grown = wanted - width();
        setFixedSize(wanted, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(wanted)
                                                           : layout()->totalMinimumSize().height());
        // Grown on both sides, as centred as before, and kept on the screen.
        const int right = area.x() + area.width() - frameGeometry().width();
        move(qMax(area.x(), qMin(x() - grown / 2, right)), y());
    }

    QString m_text;
    bool m_wrapped = false;
};

} // namespace

Dialogs::Answer QtDialogs::message(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    LinesBox box(m_parent, displayText(text));
    box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
    box.setIcon(qtIcon(icon));
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
