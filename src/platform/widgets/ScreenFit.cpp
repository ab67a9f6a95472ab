#include "platform/widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velmora {

QSize fittedToScreen(QSize wanted, const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    // The title bar and borders the window manager adds are not part of the window's size.
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 40;
    const QSize room = screen->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight);
    return wanted.boundedTo(room);
}

} // namespace velmora
