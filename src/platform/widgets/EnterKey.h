#pragma once

class QAbstractButton;

namespace velmora {

// Enter (or Return) presses `button` while it has the focus, as Space does. Qt gives Enter
// only to a dialog's default button; a person working from the keyboard expects the button
// in front of them.
void pressOnEnter(QAbstractButton* button);

} // namespace velmora
