#pragma once

#include <QString>

namespace velmora {

class Clock;

// Runs the program on the installation in `folder` and walks through it as a new applicant
// would, without anyone at the keyboard: signs in with a sample DNI, fills the first tab,
// saves (creating the password) and prints to a PDF. Every window is saved as a PNG in the
// installation folder, and the printout beside them. For machines without a display and
// for a first look at the program. Returns the process exit status.
int runGuidedWalk(const QString& folder, const Clock& clock);

} // namespace velmora
