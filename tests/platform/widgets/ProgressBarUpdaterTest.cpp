#include "platform/widgets/ProgressBarUpdater.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace velmora {
namespace {

TEST(ProgressBarUpdater, FiguresBecomeWholeUnitsWithinTheBar) {
    EXPECT_EQ(ProgressBarUpdater::units(2049.5f), 2050);
    EXPECT_EQ(ProgressBarUpdater::units(0.4f), 0);
    EXPECT_EQ(ProgressBarUpdater::units(-30), 0);
    EXPECT_EQ(ProgressBarUpdater::units(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(ProgressBarUpdater::units(1e12f), INT_MAX);

    QProgressBar bar;
    ProgressBarUpdater updater(&bar);
    updater.update(1950, 1980); // a step past the end shows a full bar, not an error
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 1950);
    EXPECT_EQ(bar.value(), 1950);
    updater.update(0, 5);
    EXPECT_EQ(bar.maximum(), 0);
    EXPECT_EQ(bar.value(), 0);
}

} // namespace
} // namespace velmora
