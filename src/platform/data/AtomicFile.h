#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// Replaces the file at `path` with `bytes` in one step: the bytes go to a temporary file
// beside it, which is renamed over the old one only once everything is written. On any
// failure the old file stays as it was.
//
// The temporary file is written unbuffered and every count checked: a buffered QSaveFile
// can lose a failed write in its buffer and still commit a cut-off file.
// A folder, device, pipe or socket at `path` (or a link to one) is refused, never replaced.
Status writeFileAtomically(const QString& path, const QByteArray& bytes);

// Whether `path` may be replaced by a regular file: it is absent or already a regular file
// (directly or through a link). Otherwise a Spanish error naming the file.
Status checkReplaceable(const QString& path);

} // namespace velmora
