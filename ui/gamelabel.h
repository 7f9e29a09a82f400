// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QLabel>

namespace ui {

// A windowless-style text (or picture) control: no focus, plain text, an
// optional thin border, transparent or opaque, and optionally sized to its
// text. It reports clicks, presses and pointer moves the way the window's
// handlers expect them. Assistive tools read it as Qt reads any QLabel; one
// that reacts to clicks (setPressable) also offers them a press action.
class GameLabel : public QLabel
{
    Q_OBJECT
public:
    explicit GameLabel(QWidget *parent);

    // Sets the caption; an auto-sized label then takes exactly the size its
    // text needs, keeping its left and top edges.
    void setText(const QString &text);

    // For screen readers: a label whose text alone says little (a square's
    // "-4", a score's "12") gets a fixed accessible name such as "Square 3";
    // its text is then its accessible description, updated with every change.
    // A label without one is read by its text, as any label.
    void setAccessibleCaption(const QString &caption);

    // A label whose click does something (a square, a catalogue entry, a
    // link) is pressable: screen readers can then press it from the
    // accessible tree, which clicks it (emits clicked()). Labels that only
    // show something are not, and offer no press action.
    void setPressable(bool on) { m_pressable = on; }
    bool isPressable() const { return m_pressable; }

    void setAutoSize(bool on);
    bool autoSize() const { return m_autoSize; }

    // Opaque labels fill their rectangle with the background colour.
    void setOpaque(bool opaque);
    void setBorder(bool thinBorder);

    void setTextColor(const QColor &color);
    QColor textColor() const;
    void setBackColor(const QColor &color);
    QColor backColor() const;

signals:
    void clicked();             // left button pressed and released on the label
    void doubleClicked();
    void mouseDown(Qt::MouseButton button);
    void mouseMoved();

protected:
    // The tooltip shows as plain text, as typed: QToolTip would take a
    // text that looks like markup ("<b>Eve") for rich text.
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void fitToText();

    bool m_autoSize = false;
    bool m_pressable = false;
    bool m_leftPressed = false;
    // The colours last given by setTextColor and setBackColor (invalid until
    // then): giving the same colour again leaves the palette alone, as every
    // hit repaints all twenty squares in their resting colours.
    QColor m_givenText;
    QColor m_givenBack;
};

} // namespace ui
