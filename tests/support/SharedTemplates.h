#pragma once

#include "printing/ApplicationDocument.h"
#include "printing/TemplateWriter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

namespace velmora::test {

// Copies the application templates of the default key into an installation's data folder.
// They are the same for every test: written once per test program, then copied.
inline bool copySharedTemplates(const QString& dataFolder) {
    static TempDir shared;
    static bool written = writeApplicationTemplates(shared.path(), TemplateKey{}).ok();
    const QString key = TemplateKey{}.folderName();
    QDir().mkpath(QDir(dataFolder).filePath(key));
    for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy})
        if (!QFile::copy(templatePath(shared.path(), key, g), templatePath(dataFolder, key, g)))
            return false;
    return written;
}

} // namespace velmora::test
