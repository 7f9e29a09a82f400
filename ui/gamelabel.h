// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QLabel>

namespace ui {

// A windowless-style text (or picture) control: plain text, an optional
// thin border, transparent or opaque, and optionally sized to its text. It
// reports clicks, presses and pointer moves the way the window's handlers
// expect them. Assistive tools read it as Qt reads any QLabel; one that
// reacts to clicks (setPressable) also offers them a press action, and is a
// stop of the Tab key: Space or Return then clicks it. A click never gives
// a label the focus, and a focused label shows its focus mark only once the
// keyboard has moved the focus (Qt's WA_KeyboardFocusChange), so a player
// with a mouse never sees one.
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
    // its text is then its accessible description, updated with every change,
    // put in `describe` (where "%1" stands for the text) when one is given.
    // A label without one is read by its text, as any label.
    void setAccessibleCaption(const QString &caption, const QString &describe = QString());

    // Screen readers read a square as a push button (named by its place,
    // described by its number), which they speak when it takes the focus
    // with both name and number; a label they speak by name only.
    void setReadAsButton(bool on) { m_readAsButton = on; }
    bool readsAsButton() const { return m_readAsButton; }

    // A label whose click does something (a square, a catalogue entry, a
    // link) is pressable: screen readers can then press it from the
    // accessible tree, which clicks it (emits clicked()), and it takes the
    // focus from the Tab key (never from a click), where Space and Return
    // click it. Labels that only show something are not, and offer no press
    // action and no focus.
    void setPressable(bool on);
    bool isPressable() const { return m_pressable; }

    // Whether the label shows its focus mark now: it has the focus, and the
    // keyboard moved it there.
    bool showsFocusMark() const;

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
    void keyDown(int key);      // a key other than the click's, while the label has the focus

protected:
    // The tooltip shows as plain text, as typed: QToolTip would take a
    // text that looks like markup ("<b>Eve") for rich text.
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fitToText();
    QString describedText() const;

    bool m_autoSize = false;
    bool m_pressable = false;
    bool m_leftPressed = false;
    bool m_readAsButton = false;
    QString m_describe; // how the accessible description puts the text; empty: the text alone
    // The colours last given by setTextColor and setBackColor (invalid until
    // then): giving the same colour again leaves the palette alone, as every
    // hit repaints all twenty squares in their resting colours.
    QColor m_givenText;
    QColor m_givenBack;
};

} // namespace ui
