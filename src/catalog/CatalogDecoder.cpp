#include "catalog/CatalogDecoder.h"

#include "platform/MessageService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace velmora {

QList<QByteArrayView> splitLines(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // Records are far longer than one byte: count them first, so the list is allocated once.
    lines.reserve(std::count(begin, end, '\n') + 1);
    const char* start = begin;
    for (const char* p = begin; p != end; ++p) {
        const char c = *p;
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QByteArrayView(start, p - start));
        if (c == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    if (start < end)
        lines.append(QByteArrayView(start, end - start));
    return lines;
}

namespace {

// Writes `line` shifted by `offset` to `out`; false when some byte leaves 0..255.
bool shiftInto(QByteArrayView line, int offset, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    const qsizetype n = line.size();
    bool inRange = true;
    for (qsizetype i = 0; i < n; ++i) {
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

Error reported(const Error& error, MessageService& messages) {
    messages.reportError(error);
    return error;
}

Error accessError(const QString& path) {
    return Error::make(
        ErrorCode::FileAccess,
        QStringLiteral("Error de acceso a la ruta o el archivo %1").arg(QDir::toNativeSeparators(path)));
}

// The plain text of the file, or the error; `plain` keeps the lines decoded before it.
Status decodeInto(const QString& folder, const QString& fileName, QByteArray& plain) {
    QFile input(QDir(folder).filePath(fileName));
    if (fileName.isEmpty() || !input.exists())
        return Error::make(
            ErrorCode::FileNotFound,
            QStringLiteral("No se encontró el archivo %1").arg(QDir::toNativeSeparators(input.fileName())));
    if (!input.open(QIODevice::ReadOnly))
        return accessError(input.fileName());
    const QByteArray bytes = input.readAll();
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

Result<QByteArray> DecodeToMemory(const QString& folder, const QString& fileName, MessageService& messages) {
    QByteArray plain;
    if (Status decoded = decodeInto(folder, fileName, plain); !decoded)
        return reported(decoded.error(), messages);
    return plain;
}

QString DecodeFile(const QString& folder, const QString& fileName, MessageService& messages) {
    const QString scratch = QString::fromLatin1(kScratchFileName);
    QFile output(QDir(folder).filePath(scratch));
    if (fileName.isEmpty() || !QFileInfo::exists(QDir(folder).filePath(fileName))) {
        QByteArray none;
        reported(decodeInto(folder, fileName, none).error(), messages);
        return QString();
    }
    // The scratch file is ours alone: whatever stands at its name (a link planted there, a
    // pipe, a stale copy) is removed, and the file is created afresh, so that a write never
    // goes through a link to another file.
    if (QFileInfo(output.fileName()).isSymLink() || QFileInfo::exists(output.fileName()))
        output.remove();
    if (!output.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        reported(accessError(output.fileName()), messages);
        return QString();
    }
    QByteArray plain;
    const Status decoded = decodeInto(folder, fileName, plain);
    const bool written = output.write(plain) == plain.size() && output.flush();
    if (!decoded) {
        reported(decoded.error(), messages);
        return QString();
    }
    if (!written) {
        reported(accessError(output.fileName()), messages);
        return QString();
    }
    return scratch;
}

} // namespace velmora
