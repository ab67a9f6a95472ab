#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace velmora {

// Keeps the bytes of a file the program could not read, before it goes on without them,
// so that what the user had can still be recovered by hand.
//
// The copy is written into `folder` as a new file named after the original
// ("<name>.ilegible-<yyyyMMdd-HHmmss>", then "-2", "-3"... when taken): it never
// replaces anything, never goes through a link, and its name ends in neither ".doc" nor
// ".xml", so no list of saved applications shows it and no save writes over it. The copy
// holds `bytes` exactly, with `permissions` when given. Returns the path of the copy.
Result<QString> keepDamagedCopy(const QString& folder, const QString& originalName, const QByteArray& bytes,
                                const QDateTime& when = QDateTime::currentDateTime(),
                                std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// The same for the file at `path` as it stands on disk, copied into `folder` with the
// original's permissions. A link at `path` is refused: what it points to is not the program's
// file, and its bytes must not land in a shared folder.
Result<QString> keepDamagedCopyOf(const QString& path, const QString& folder,
                                  const QDateTime& when = QDateTime::currentDateTime());

} // namespace velmora
