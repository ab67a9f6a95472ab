#pragma once

#include <QColor>
#include <QString>

namespace velmora {

class MessageService;

// What the DNI check needs from a text box: its text, read and written, and the colour of
// that text. The sign-in window and the editor adapt their own boxes to it.
class DniTextBox {
public:
    virtual ~DniTextBox() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setForeColor(const QColor& color) = 0;
};

// Colours the check leaves on the box.
QColor dniValidColor();   // black
QColor dniInvalidColor(); // RGB(254, 0, 0)

// Checks and normalises the DNI typed into `box`: pads it with "0" on the left up to 9
// characters, tests eight digits plus a check letter, and on success leaves the text in
// upper case. Colours the text black or red, and on failure shows "DNI no válido" before
// answering false. Never clears the box: what happens next is the caller's choice.
bool ValidaDNI(DniTextBox& box, MessageService& messages);

} // namespace velmora
