#include "platform/widgets/ProgressBarUpdater.h"

#include <QCoreApplication>

#include <climits>
#include <cmath>

namespace velmora {
namespace {

constexpr qint64 kRepaintEveryMs = 40;

} // namespace

ProgressBarUpdater::ProgressBarUpdater(QProgressBar* bar) : m_bar(bar) {
    m_sinceRepaint.start();
}

int ProgressBarUpdater::units(float figure) {
    if (!(figure > 0)) // also NaN
        return 0;
    const double rounded = std::round(double(figure));
    return rounded >= double(INT_MAX) ? INT_MAX : int(rounded);
}

void ProgressBarUpdater::update(float maximum, float value) {
    if (!m_bar)
        return;
    const int top = units(maximum);
    if (m_bar->minimum() != 0 || m_bar->maximum() != top)
        m_bar->setRange(0, top);
    m_bar->setValue(std::min(units(value), top));
    if (m_bar->isVisible() && m_sinceRepaint.elapsed() >= kRepaintEveryMs) {
        m_bar->repaint();
        m_sinceRepaint.restart();
    }
}

void ProgressBarUpdater::yieldToEvents(QEventLoop::ProcessEventsFlags flags) {
    if (m_bar && m_bar->isVisible()) {
        m_bar->window()->repaint();
        m_sinceRepaint.restart();
    }
    QCoreApplication::processEvents(flags);
}

} // namespace velmora
