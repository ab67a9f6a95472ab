#pragma once

class QButtonGroup;

namespace velmora {

// The arrow keys on an option button of `group` move to the next button of the group (Right,
// Down) or the previous one (Left, Up), round from the last to the first, and choose it, as
// on Windows, also when the button left was not chosen. Qt moves the focus alone then, and
// the answer stays unchosen although the focus shows on it. Tab still leaves the group.
void selectWithArrowKeys(QButtonGroup* group);

} // namespace velmora
