#pragma once

class QWidget;

namespace velmora {

// Moves the focus from `widget` (the one that has it) to the next control in tab order,
// exactly as a Tab key press in it would: the control it leaves is told the focus went
// away by Tab.
void sendTabKey(QWidget* widget);

} // namespace velmora
