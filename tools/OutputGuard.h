#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace velmora::tools {

// Checks the file a command is about to write before anything is written: it must be named,
// must not be a folder, and must not be one of the files the command reads (`inputs`), nor,
// when `installation` is given, an existing file of that folder other than a PDF. Files are
// compared by what they are on disk (links, "..", hard links), not by how they are spelt.
Status checkOutputFile(const QString& output, const QStringList& inputs, const QString& installation = {});

} // namespace velmora::tools
