#include "app/SampleInstallation.h"

#include "app/ContestConfiguration.h"
#include "app/UserManualWriter.h"
#include "platform/AppFolders.h"
#include "platform/docengine/WordProcessor.h"
#include "printing/TemplateWriter.h"

#include "support/TempDir.h"
#include "support/TemplateChecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;

// The one test that writes the templates of all 32 keys: each of them must be usable,
// whatever tabs a contest's conf.xml shows.
TEST(SampleInstallation, ShipsCompleteTemplatesForEveryKeyAndTheManual) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleInstallation(dir.path(), SampleScale::Small, 3));
    const AppFolders folders = AppFolders::at(dir.path());

    for (const TemplateKey& key : TemplateKey::all()) {
        for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
            const QString path =
                QDir(folders.data).filePath(key.folderName() + QLatin1Char('/') + templateFileName(g));
            docengine::WordProcessor word;
            auto doc = word.addDocument(path);
            ASSERT_TRUE(doc.ok()) << path.toStdString();
            test::expectCompleteTemplate(*doc.value(), key, g);
        }
    }

    // The folder the sample contest's own conf.xml points printing to is among them.
    auto conf = ContestConfiguration::read(folders.program);
    ASSERT_TRUE(conf.ok());
    EXPECT_TRUE(
        QFile::exists(QDir(folders.data).filePath(conf.value().templateFolderKey + u"/PlantillaWXP.dot"_s)));

    EXPECT_TRUE(QFile::exists(userManualPath(folders.program)));
}
