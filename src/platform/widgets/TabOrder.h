#pragma once

#include <QList>

class QWidget;

namespace velmora {

// Declares the order in which the Tab key walks `widgets` (the order in which they are
// seen: left to right, top to bottom, one frame after another) and keeps that declaration on
// `owner`, the window or page they belong to, so that it can be read back and checked.
void declareTabOrder(QWidget* owner, const QList<QWidget*>& widgets);
// What declareTabOrder kept on `owner`; empty when nothing was declared.
QList<QWidget*> declaredTabOrder(const QWidget* owner);

} // namespace velmora
