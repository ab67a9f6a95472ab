#include "app/SampleInstallation.h"

namespace velmora {

Status writeSampleInstallation(const QString& folder, SampleScale scale, quint32 seed) {
    VELMORA_TRY(writeSampleContest(folder, scale, seed));
    return {};
}

} // namespace velmora
