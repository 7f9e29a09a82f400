// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/textlayout.h"

#include <QFont>
#include <QTextLayout>

namespace testing {

bool setOutLeftToRight(const QString &paragraph, qsizetype from, qsizetype to)
{
    QTextLayout layout(paragraph, QFont());
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    qreal previous = -1e9;
    for (qsizetype i = from; i < to; ++i) {
        const QTextLine line = layout.lineForTextPosition(int(i));
        const qreal x = line.cursorToX(int(i));
        if (x <= previous)
            return false;
        previous = x;
    }
    return true;
}

} // namespace testing
