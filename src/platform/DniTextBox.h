#pragma once

#include <QColor>
#include <QString>

namespace velmora {

// What the DNI check needs from a text box: its text, read and written, and the colour of
// that text. The sign-in window and the editor adapt their own boxes to it. It lives in the
// platform layer so that the widget library can offer a box that is one.
class DniTextBox {
public:
    virtual ~DniTextBox() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setForeColor(const QColor& color) = 0;
};

} // namespace velmora
