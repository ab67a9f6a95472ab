#include "catalog/CatalogDecoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace velmora {

QList<QByteArrayView> splitLines(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    const char* const end = bytes.data() + bytes.size();
    // The next CR and the next LF, each found with memchr (a block of bytes at a time) and
    // looked for again only once passed: records are long, line ends few.
    auto next = [end](const char* from, char c) {
        const void* at = from < end ? std::memchr(from, c, size_t(end - from)) : nullptr;
        return at ? static_cast<const char*>(at) : end;
    };
    const char* start = bytes.data();
    const char* cr = next(start, '\r');
    const char* lf = next(start, '\n');
    while (start < end) {
        if (cr < start)
            cr = next(start, '\r');
        if (lf < start)
            lf = next(start, '\n');
        const char* stop = std::min(cr, lf);
        if (stop == end)
            break;
        lines.append(QByteArrayView(start, stop - start));
        start = (stop == cr && stop + 1 == lf) ? stop + 2 : stop + 1;
    }
    if (start < end)
        lines.append(QByteArrayView(start, end - start));
    return lines;
}

namespace {

// Writes `line` shifted by `offset` to `out`; false when some byte leaves 0..255. Decoding
// takes eight bytes at a time: when none of them is below the offset, subtracting it from
// each byte of the word borrows nowhere.
bool shiftInto(QByteArrayView line, int offset, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const qsizetype n = line.size();
    qsizetype i = 0;
    if (offset < 0) {
        constexpr quint64 kOnes = 0x0101010101010101ULL;
        constexpr quint64 kHighBits = 0x8080808080808080ULL;
        const quint64 subtrahend = kOnes * quint64(-offset);
        for (; i + 8 <= n; i += 8) {
            quint64 word;
            std::memcpy(&word, in + i, 8);
            if (((word - subtrahend) & ~word & kHighBits) != 0)
                break; // some byte is below the offset (or high): the bytes are taken one by one
            word -= subtrahend;
            std::memcpy(out + i, &word, 8);
        }
    }
    bool inRange = true;
    for (; i < n; ++i) {
        const int code = in[i] + offset;
        inRange &= code >= 0 && code <= 255;
        out[i] = char(code);
    }
    return inRange;
}

Result<QByteArray> shift(QByteArrayView line, int offset) {
    QByteArray out(line.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < line.size(); ++i) {
        const int code = static_cast<unsigned char>(line[i]) + offset;
        if (code < 0 || code > 255)
            return Error::make(
                ErrorCode::InvalidProcedureCall,
                QStringLiteral("Llamada a procedimiento o argumento no válidos (carácter de código "
                               "%1 en la posición %2)")
                    .arg(static_cast<unsigned char>(line[i]))
                    .arg(i + 1));
        out[i] = char(code);
    }
    return out;
}

} // namespace

Result<QByteArray> DecodeLine(QByteArrayView line, qint16 offset) {
    return shift(line, offset);
}

Result<QByteArray> EncodeLine(QByteArrayView line) {
    return shift(line, -kDecodingOffset);
}

namespace {

Error accessError(const QString& path) {
    return Error::make(
        ErrorCode::FileAccess,
        QStringLiteral("Error de acceso a la ruta o el archivo %1").arg(QDir::toNativeSeparators(path)));
}

// A stored file's bytes, read whole. (Not mapped: a file cut short by another program while
// mapped would end the process; read, it is only short.)
Result<QByteArray> readStored(const QString& folder, const QString& fileName) {
    QFile file(QDir(folder).filePath(fileName));
    if (fileName.isEmpty() || !file.exists())
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("No se encontró el archivo %1").arg(QDir::toNativeSeparators(file.fileName())));
    if (!file.open(QIODevice::ReadOnly))
        return accessError(file.fileName());
    return file.readAll();
}

// Whether every byte of `line` decodes: none is below the offset. Eight bytes at a time, as
// in shiftInto.
bool decodes(QByteArrayView line) {
    static_assert(kDecodingOffset < 0);
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    qsizetype i = 0;
    for (; i + 8 <= line.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, in + i, 8);
        if (((word - kOnes * quint64(-kDecodingOffset)) & ~word & kHighBits) != 0)
            break;
    }
    for (; i < line.size(); ++i)
        if (in[i] < -kDecodingOffset)
            return false;
    return true;
}

// The plain text of the file, or the error; `plain` keeps the lines decoded before it.
Status decodeInto(const QString& folder, const QString& fileName, QByteArray& plain) {
    Result<QByteArray> input = readStored(folder, fileName);
    if (!input)
        return input.error();
    const QByteArray& bytes = input.value();
    plain.reserve(bytes.size() + bytes.size() / 64);
    for (const QByteArrayView line : splitLines(bytes)) {
        if (line.isEmpty())
            continue;
        // Shifted straight into the text, each line checked as a whole: no copy per line.
        const qsizetype at = plain.size();
        plain.resize(at + line.size());
        if (!shiftInto(line, kDecodingOffset, plain.data() + at)) {
            plain.truncate(at);
            return DecodeLine(line, kDecodingOffset).error(); // the error names the byte
        }
        plain += "\r\n";
    }
    return {};
}

} // namespace

Result<QByteArray> DecodeToMemory(const QString& folder, const QString& fileName) {
    QByteArray plain;
    if (Status decoded = decodeInto(folder, fileName, plain); !decoded)
        return decoded.error();
    return plain;
}

Result<std::unique_ptr<const StoredRecords>> ReadStoredRecords(const QString& folder,
                                                               const QString& fileName) {
    Result<QByteArray> bytes = readStored(folder, fileName);
    if (!bytes)
        return bytes.error();
    auto file = std::make_unique<StoredRecords>();
    file->bytes = std::move(bytes).value();
    constexpr char kStoredCarriageReturn = char('\r' - kDecodingOffset);
    for (QByteArrayView line : splitLines(file->bytes)) {
        if (line.isEmpty())
            continue;
        if (!decodes(line))
            return DecodeLine(line, kDecodingOffset).error();
        // A byte that decodes to a carriage return ends a line of the plain text as well.
        while (const void* cr = std::memchr(line.data(), kStoredCarriageReturn, size_t(line.size()))) {
            const qsizetype at = static_cast<const char*>(cr) - line.data();
            file->lines.append(line.first(at));
            line = line.sliced(at + 1);
        }
        file->lines.append(line);
    }
    return std::unique_ptr<const StoredRecords>(std::move(file));
}

void DecodeStored(QByteArrayView stored, char* plain) {
    for (qsizetype i = 0; i < stored.size(); ++i)
        plain[i] = char(static_cast<unsigned char>(stored[i]) + kDecodingOffset);
}

Result<QString> DecodeFile(const QString& folder, const QString& fileName) {
    const QString scratch = QString::fromLatin1(kScratchFileName);
    QFile output(QDir(folder).filePath(scratch));
    if (fileName.isEmpty() || !QFileInfo::exists(QDir(folder).filePath(fileName))) {
        QByteArray none;
        return decodeInto(folder, fileName, none).error();
    }
    // The scratch file is ours alone: whatever stands at its name (a link planted there, a
    // pipe, a stale copy) is removed, and the file is created afresh, so that a write never
    // goes through a link to another file.
    if (QFileInfo(output.fileName()).isSymLink() || QFileInfo::exists(output.fileName()))
        output.remove();
    if (!output.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return accessError(output.fileName());
    QByteArray plain;
    const Status decoded = decodeInto(folder, fileName, plain);
    const bool written = output.write(plain) == plain.size() && output.flush();
    if (!decoded)
        return decoded.error();
    if (!written)
        return accessError(output.fileName());
    return scratch;
}

} // namespace velmora
