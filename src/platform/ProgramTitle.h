#pragma once

#include <QString>

namespace velmora {

// Title of the boxes that name no title of their own, and of the failures told under it.
QString programTitle();

} // namespace velmora
