#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// Writes `output`: the PDF `input` with `bytes` embedded as the file `name` (the document's
// EmbeddedFiles name tree, a plain text file), replacing an attachment of that name.
Status attachFile(const QString& input, const QString& output, const QString& name, const QByteArray& bytes);

} // namespace velmora
