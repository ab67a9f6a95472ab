// The catalogue decoder: line splitting, the byte shift both ways, and decoding a whole file
// into the scratch file.

#include "FuzzSupport.h"

#include "catalog/CatalogDecoder.h"

#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (const QByteArrayView line : splitLines(bytes)) {
        const Result<QByteArray> decoded = DecodeLine(line, kDecodingOffset);
        if (!decoded.ok())
            continue;
        // Encoding undoes decoding for every line that decodes.
        const Result<QByteArray> back = EncodeLine(*decoded);
        if (!back.ok() || *back != line)
            std::abort();
    }
    fuzz::writeScratchFile(QStringLiteral("F0004.enc"), bytes);
    (void)DecodeFile(fuzz::scratchFolder(), QStringLiteral("F0004.enc"));
    return 0;
}
