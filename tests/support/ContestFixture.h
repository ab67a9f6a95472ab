#pragma once

#include "catalog/SampleContest.h"
#include "platform/AppFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>

namespace velmora::test {

// A small generated installation in a scratch folder, with helpers to replace any
// catalogue file by plain lines written the way the office scrambles them.
class ContestFixture {
public:
    explicit ContestFixture(SampleScale scale = SampleScale::Small, quint32 seed = 7) {
        const Status written = writeSampleContest(m_dir.path(), scale, seed);
        EXPECT_TRUE(written) << (written ? std::string() : written.error().description.toStdString());
    }

    AppFolders folders() const { return AppFolders::at(m_dir.path()); }
    QString root() const { return m_dir.path(); }
    QString dataFile(const QString& name) const { return QDir(folders().data).filePath(name); }

    void replaceCatalogue(const QString& name, const QList<QByteArray>& plainLines) const {
        ASSERT_TRUE(writeScrambledFile(dataFile(name), plainLines));
    }
    void removeCatalogue(const QString& name) const { QFile::remove(dataFile(name)); }

private:
    TempDir m_dir;
};

} // namespace velmora::test
