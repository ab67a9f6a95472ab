#pragma once

#include "catalog/SampleContest.h"

namespace velmora {

// A complete installation to try the program on: the generated contest, the application
// form templates of every tab-visibility key under ficheros/ and the user manual.
Status writeSampleInstallation(const QString& folder, SampleScale scale, quint32 seed);

} // namespace velmora
