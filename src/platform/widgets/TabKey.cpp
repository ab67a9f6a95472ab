#include "platform/widgets/TabKey.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace velmora {

void sendTabKey(QWidget* widget) {
    if (!widget)
        return;
    // Only the press: it is what moves the focus, and a release would reach the control the
    // focus left, which may act on released keys.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(widget, &press);
}

} // namespace velmora
