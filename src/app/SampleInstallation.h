#pragma once

#include "catalog/SampleContest.h"

namespace velmora {

// A complete installation to try the program on: the generated contest plus everything
// else an installation ships (templates, user manual) as far as they exist.
Status writeSampleInstallation(const QString& folder, SampleScale scale, quint32 seed);

} // namespace velmora
