// conf.xml as the loading sequence reads it.

#include "FuzzSupport.h"

#include "app/ContestConfiguration.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The positions-per-page limit is measured with the printed form's fonts.
    fuzz::ensureGuiApplication();
    fuzz::writeScratchFile(QStringLiteral("conf.xml"), fuzz::bytesOf(data, size));
    const auto config = ContestConfiguration::read(fuzz::scratchFolder());
    if (config.ok())
        (void)config->positionsPerPageSetting();
    (void)ContestConfiguration::readContestName(fuzz::scratchFolder());
    return 0;
}
