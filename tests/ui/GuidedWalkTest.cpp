// The scripted walk tells the truth in its exit status: a step that failed fails the walk.
#include "ui/GuidedWalk.h"

#include "app/SampleInstallation.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(GuidedWalk, ASaveThatFailsMakesTheWalkFail) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleInstallation(dir.path(), SampleScale::Small, 7).ok());
    // A file where the applications folder should be: every save of the walk fails.
    const QString applications = AppFolders::at(dir.path()).applications;
    ASSERT_TRUE(QDir(applications).removeRecursively());
    dir.write(QDir(dir.path()).relativeFilePath(QDir::cleanPath(applications)), "no es una carpeta");
    SystemClock clock;
    EXPECT_NE(runGuidedWalk(dir.path(), clock), 0);
}

} // namespace
} // namespace velmora
