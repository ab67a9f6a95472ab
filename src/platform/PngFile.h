#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>

namespace velmora {

// PNG pictures read through libpng with handlers of our own. Read through Qt, a damaged PNG
// makes libpng's default handler print an English line on standard error before any message
// of ours; here its complaints are only reasons to refuse the file.
class PngFile {
public:
    // Whether the file starts with the PNG signature.
    static bool isPng(const QString& path);
    // The picture (8-bit grey, RGB or RGBA), or a Spanish reason without the file's name:
    // damaged or cut, or larger than `maxPixels`.
    static Result<QImage> read(const QString& path, qint64 maxPixels);
};

} // namespace velmora
