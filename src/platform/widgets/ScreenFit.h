#pragma once

#include <QSize>

class QWidget;

namespace velmora {

// `wanted` made to fit the free area of the screen `window` is on (or will open on), with
// room for the window's frame: at a large scale factor a window's usual size can be bigger
// than the whole screen.
QSize fittedToScreen(QSize wanted, const QWidget* window);

} // namespace velmora
