#include "catalog/CatalogDecoder.h"

#include "platform/MessageService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

QList<QByteArrayView> splitLines(QByteArrayView bytes) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.sliced(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.sliced(start));
    return lines;
}

namespace {

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
    messages.show(
        QStringLiteral("Se ha producido el siguiente error %1-%2").arg(error.number).arg(error.description),
        programTitle(), MessageIcon::Critical, MessageButtons::Ok);
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
        auto decoded = DecodeLine(line, kDecodingOffset);
        if (!decoded)
            return decoded.error();
        plain += *decoded;
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
