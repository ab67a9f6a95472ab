#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace velmora {

// Replaces the file at `path` with `bytes` in one step: the bytes go to a new file beside it
// (writeNewFile), which is renamed over the old one (replaceFile) only once everything is
// written and flushed. On any failure the old file stays as it was, and the error names the
// cause ("no queda espacio en el disco"). The new file keeps the old one's permissions.
// A link at `path` is refused, whatever it points to: files are never written through a
// link. So is a folder, device, pipe or socket.
Status writeFileAtomically(const QString& path, const QByteArray& bytes);

// Whether `path` may be replaced by a regular file: it is absent or already a regular file
// (directly or through a link). Otherwise a Spanish error naming the file.
Status checkReplaceable(const QString& path);

} // namespace velmora

namespace velmora {

// Creates the file `path` holding `bytes` and flushes it to the disk before returning; with
// `permissions`, the file gets those (a copy of a private file stays private).
// Nothing standing at `path` is followed or replaced: an existing file, folder or link
// there is an error. A failed write leaves no file behind. The error's description names
// the file and the cause in the user's words (fileWriteCause).
Status writeNewFile(const QString& path, const QByteArray& bytes,
                    std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Renames `from` over `to` in one step, replacing a file there. A link at `to` is refused:
// files are never written through a link.
Status replaceFile(const QString& from, const QString& to);

// Whether `path` itself is a symbolic link (or a Windows junction or shortcut), whatever
// it points to, dangling or not.
bool isLink(const QString& path);

// The whole content of a file; empty when it cannot be read (a missing file reads as empty).
QByteArray fileBytes(const QString& path);

// "no queda espacio en el disco", "no tiene permiso para escribir en FOLDER" or the
// system's own words, for a write into `folder` that failed with the system error
// number `systemError` (errno).
QString fileWriteCause(int systemError, const QString& folder);

} // namespace velmora
