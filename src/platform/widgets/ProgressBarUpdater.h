#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProgressBar>

namespace velmora {

// Shows a long operation's progress (float maximum and value) on a QProgressBar: whole
// units, never past the bar's maximum nor below 0. The bar is repainted at once when its
// last paint is more than a moment old, so it moves during long work without the work
// spending its time painting.
class ProgressBarUpdater {
public:
    explicit ProgressBarUpdater(QProgressBar* bar);

    void update(float maximum, float value);
    // Repaints the bar's window and lets pending window events run (only those `flags` allow).
    void yieldToEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

    // A progress figure as whole bar units: rounded, negative and NaN give 0, huge ones the
    // largest int.
    static int units(float figure);

private:
    QPointer<QProgressBar> m_bar;
    QElapsedTimer m_sinceRepaint;
};

} // namespace velmora
