#include "ui/gamelabel.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>

namespace ui {

GameLabel::GameLabel(QWidget *parent) : QLabel(parent)
{
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
    if (!accessibleName().isEmpty() && accessibleDescription() != text)
        setAccessibleDescription(text); // announced to assistive tools as a description change
    if (m_autoSize)
        fitToText();
}

void GameLabel::setAccessibleCaption(const QString &caption)
{
    setAccessibleName(caption);
    setAccessibleDescription(caption.isEmpty() ? QString() : text());
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

void GameLabel::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    event->accept();
}

} // namespace ui
