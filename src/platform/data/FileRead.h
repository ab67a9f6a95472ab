#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// Megabytes as the user reads them in a size limit.
inline constexpr qint64 kMegabyte = 1024 * 1024;

// The whole content of the regular file at `path`, when it holds at most `maxBytes`: a
// larger file is refused before it is read, so that a file grown by mistake or by malice
// cannot take the program's memory. A link at `path` is refused, never followed, and so is
// anything that is not a regular file (a folder, a device, a pipe).
//
// On failure the error's description is the cause alone, in the user's words, for the
// caller to put into its own sentence: "no existe" (number ErrorCode::FileNotFound, and only
// for a path where nothing stands), "no tiene permiso para leerlo", "en su lugar hay una
// carpeta", "ocupa más de 10 MB, el máximo para este fichero", the system's own words for
// a failed read...
Result<QByteArray> readFileUpTo(const QString& path, qint64 maxBytes);

} // namespace velmora
