#include "ui/boardtext.h"

#include <QMouseEvent>

namespace ui {

void BoardText::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit doubleClicked();
}

} // namespace ui
