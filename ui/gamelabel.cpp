// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/gamelabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTextDocument>
#include <QToolTip>

namespace ui {

namespace {

// What assistive tools read of a game label: what Qt gives any QLabel (a
// static text, or a graphic when it shows a picture; named by its text
// unless it has an accessible name; a picture's size and tooltip), and on
// a pressable label the press action, which clicks it. A square reads as a
// push button.
class AccessibleGameLabel final : public QAccessibleWidget, public QAccessibleImageInterface
{
public:
    explicit AccessibleGameLabel(GameLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override
    {
        if (!label()->pixmap().isNull())
            return QAccessible::Graphic;
        return label()->readsAsButton() ? QAccessible::Button : QAccessibleWidget::role();
    }

    QString text(QAccessible::Text t) const override
    {
        QString str;
        if (t == QAccessible::Name) {
            str = widget()->accessibleName();
            if (str.isEmpty())
                str = label()->text(); // always plain text, and never a buddy's mnemonic
        }
        return str.isEmpty() ? QAccessibleWidget::text(t) : str;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ImageInterface)
            return static_cast<QAccessibleImageInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (canPress())
            names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        if (!canPress())
            return;
        // The click comes from the event loop, as a button's does: a handler
        // that opens a message box must not hold the screen reader's call
        // until the box is closed.
        QMetaObject::invokeMethod(label(), "clicked", Qt::QueuedConnection);
    }

    QString imageDescription() const override { return widget()->toolTip(); }
    QSize imageSize() const override { return label()->pixmap().size(); }
    QPoint imagePosition() const override // where Qt puts a QLabel's picture
    {
        return label()->pixmap().isNull() ? QPoint() : label()->mapToGlobal(label()->pos());
    }

private:
    GameLabel *label() const { return static_cast<GameLabel *>(widget()); }
    bool canPress() const { return label()->isPressable() && label()->isEnabled(); }
};

QAccessibleInterface *accessibleGameLabel(const QString &className, QObject *object)
{
    if (className != QLatin1String(GameLabel::staticMetaObject.className()))
        return nullptr;
    auto *label = qobject_cast<GameLabel *>(object);
    return label ? new AccessibleGameLabel(label) : nullptr;
}

} // namespace

GameLabel::GameLabel(QWidget *parent) : QLabel(parent)
{
    // The interfaces above come from a factory installed with the first
    // label, so that it is in place whoever builds the window (the program
    // or a test) and before any tool can ask for a label's interface.
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleGameLabel);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setWordWrap(false);
    setMargin(0);
    setIndent(0);
}

void GameLabel::setText(const QString &text)
{
    QLabel::setText(text);
    if (!accessibleName().isEmpty() && accessibleDescription() != describedText())
        setAccessibleDescription(describedText()); // announced to assistive tools as a description change
    if (m_autoSize)
        fitToText();
}

void GameLabel::setAccessibleCaption(const QString &caption, const QString &describe)
{
    m_describe = describe;
    setAccessibleName(caption);
    setAccessibleDescription(caption.isEmpty() ? QString() : describedText());
}

QString GameLabel::describedText() const
{
    return m_describe.isEmpty() ? text() : m_describe.arg(text());
}

void GameLabel::setPressable(bool on)
{
    m_pressable = on;
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

bool GameLabel::showsFocusMark() const
{
    QStyleOption option;
    option.initFrom(this);
    return (option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange);
}

void GameLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        fitToText();
}

void GameLabel::fitToText()
{
    const QSize needed = sizeHint();
    resize(needed.isValid() ? needed : QSize(0, 0));
}

void GameLabel::setOpaque(bool opaque)
{
    setAutoFillBackground(opaque);
}

void GameLabel::setBorder(bool thinBorder)
{
    if (thinBorder) {
        setFrameShape(QFrame::Box);
        setFrameShadow(QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameShape(QFrame::NoFrame);
    }
}

void GameLabel::setTextColor(const QColor &color)
{
    if (color == m_givenText && textColor() == color)
        return;
    m_givenText = color;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor GameLabel::textColor() const
{
    return palette().color(QPalette::WindowText);
}

void GameLabel::setBackColor(const QColor &color)
{
    if (color == m_givenBack && backColor() == color)
        return;
    m_givenBack = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

QColor GameLabel::backColor() const
{
    return palette().color(QPalette::Window);
}

void GameLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit mouseDown(event->button());
    event->accept();
}

void GameLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_leftPressed;
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void GameLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is a double-click, not another
    // click: a hasty double-click on a square scores one hit, not two.
    m_leftPressed = false;
    emit mouseDown(event->button());
    emit doubleClicked();
    event->accept();
}

bool GameLabel::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || toolTip().isEmpty())
        return QLabel::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(toolTip(), Qt::WhiteSpaceNoWrap), this);
    return true;
}

void GameLabel::keyPressEvent(QKeyEvent *event)
{
    const bool clickKey = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                          event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) == Qt::NoModifier;
    if (m_pressable && clickKey && plain) {
        event->accept();
        // One click for each press of the key, as many as of the button.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    }
    emit keyDown(event->key());
    QLabel::keyPressEvent(event);
}

// The focus mark: a thick frame just inside the square's border, in the
// colour of the score of the second player, over whatever the label shows.
// It takes no room, and the label's own colours stay as they are.
void GameLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!showsFocusMark())
        return;
    constexpr int inset = 3;
    constexpr int width = 3;
    QPainter painter(this);
    QPen pen(QColor(0, 0, 128), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset + half, inset + half, -(inset + half), -(inset + half)));
}

void GameLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    event->accept();
}

} // namespace ui
