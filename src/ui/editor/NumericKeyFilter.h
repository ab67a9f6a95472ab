#pragma once

#include <QObject>

class QLineEdit;

namespace velmora {

// Puts FiltraTecla in front of a numeric box: discarded keys never reach it, a full stop
// arrives as a comma, and Enter moves the focus to the next control as Tab does.
class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    // Filters `box`'s keys for as long as the box lives (the filter is its child).
    static void install(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit NumericKeyFilter(QObject* parent) : QObject(parent) {}
};

} // namespace velmora
