#include "platform/docengine/DocxPackage.h"

#include "platform/data/AtomicFile.h"
#include "platform/docengine/DocTypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <memory>

namespace velmora::docengine {

namespace {

// Limits that keep a hostile or broken file from exhausting memory and time. A filled
// application of thousands of positions inflates to a few megabytes; everything the engine
// builds afterwards (XML tree, layout, PDF) grows with these bytes, so they are the cap on
// what a document may cost.
constexpr zip_uint64_t kMaxPartSize = 64ull * 1024 * 1024;
constexpr zip_uint64_t kMaxTotalSize = 64ull * 1024 * 1024;
constexpr zip_int64_t kMaxEntries = 20000;

Error notAPackage(const QString& detail) {
    return Error::make(
        DocError::NotAPackage,
        QStringLiteral("El archivo no es un documento válido del procesador de textos (%1).").arg(detail));
}

// libzip explains itself in English; the user reads Spanish.
QString zipProblem(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("no es un archivo ZIP");
    case ZIP_ER_INCONS:
        return QStringLiteral("el archivo ZIP es incoherente");
    case ZIP_ER_CRC:
        return QStringLiteral("la suma de comprobación de una parte no coincide");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("usa un método de compresión que no se admite");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("está cifrado");
    case ZIP_ER_MEMORY:
        return QStringLiteral("no hay memoria suficiente");
    case ZIP_ER_READ:
    case ZIP_ER_EOF:
        return QStringLiteral("está cortado o no se puede leer");
    default:
        return QStringLiteral("el archivo ZIP está dañado");
    }
}

struct ZipCloser {
    void operator()(zip_t* z) const {
        if (z)
            zip_discard(z);
    }
};

} // namespace

Result<DocxPackage> DocxPackage::fromFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return Error::make(ErrorCode::FileNotFound,
                           QStringLiteral("No se encuentra el archivo %1.").arg(shown));
    // A device or a pipe would be read without end.
    if (!info.isFile())
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se puede leer el archivo %1: no es un fichero normal.").arg(shown));
    if (info.size() > qint64(kMaxTotalSize))
        return Error::make(
            DocError::NotAPackage,
            QStringLiteral("El archivo %1 es demasiado grande para ser un documento (más de %2 MB).")
                .arg(shown)
                .arg(kMaxTotalSize / (1024 * 1024)));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede leer el archivo %1.").arg(shown));
    auto pkg = fromBytes(f.readAll());
    if (!pkg.ok())
        return Error::make(pkg.error().number, shown + QStringLiteral(": ") + pkg.error().description);
    return pkg;
}

Result<DocxPackage> DocxPackage::fromBytes(const QByteArray& bytes) {
    if (bytes.size() < 4 || !bytes.startsWith("PK"))
        return notAPackage(QStringLiteral("no es un archivo ZIP"));
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src =
        zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &err);
    if (!src) {
        zip_error_fini(&err);
        return notAPackage(QStringLiteral("no se puede leer"));
    }
    std::unique_ptr<zip_t, ZipCloser> za(zip_open_from_source(src, ZIP_RDONLY, &err));
    if (!za) {
        zip_source_free(src);
        const QString why = zipProblem(zip_error_code_zip(&err));
        zip_error_fini(&err);
        return notAPackage(why);
    }
    zip_error_fini(&err);

    DocxPackage pkg;
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    if (count > kMaxEntries)
        return notAPackage(QStringLiteral("demasiadas partes"));
    // Part names do not tell case apart: two entries of one name would leave it to chance
    // which of them is the document.
    QSet<QString> seen;
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString name = QString::fromUtf8(st.name);
        if (name.isEmpty() || name.endsWith(u'/'))
            continue;
        if (seen.contains(name.toLower()))
            return notAPackage(QStringLiteral("la parte %1 aparece dos veces").arg(name));
        seen.insert(name.toLower());
        if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPartSize || (total += st.size) > kMaxTotalSize)
            return notAPackage(
                QStringLiteral("descomprimido ocuparía más de %1 MB").arg(kMaxTotalSize / (1024 * 1024)));
        zip_file_t* zf = zip_fopen_index(za.get(), static_cast<zip_uint64_t>(i), 0);
        if (!zf)
            return notAPackage(QStringLiteral("parte ilegible %1").arg(name));
        QByteArray data;
        data.resize(static_cast<qsizetype>(st.size));
        const zip_int64_t got = st.size ? zip_fread(zf, data.data(), st.size) : 0;
        zip_fclose(zf);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size)
            return notAPackage(QStringLiteral("parte dañada %1").arg(name));
        pkg.m_parts[name] = std::move(data);
    }
    if (!pkg.has(QStringLiteral("[Content_Types].xml")))
        return notAPackage(QStringLiteral("falta [Content_Types].xml"));
    return pkg;
}

Result<QByteArray> DocxPackage::toBytes() const {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &err);
    if (!out) {
        zip_error_fini(&err);
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear el paquete del documento."));
    }
    zip_source_keep(out);
    zip_t* za = zip_open_from_source(out, ZIP_TRUNCATE, &err);
    zip_error_fini(&err);
    if (!za) {
        zip_source_free(out);
        zip_source_free(out);
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear el paquete del documento."));
    }

    QStringList order;
    order << QStringLiteral("[Content_Types].xml") << QStringLiteral("_rels/.rels");
    for (const auto& [name, bytes] : m_parts)
        if (!order.contains(name))
            order << name;

    bool ok = true;
    for (const QString& name : order) {
        auto it = m_parts.find(name);
        if (it == m_parts.end())
            continue;
        const QByteArray& bytes = it->second;
        zip_source_t* s =
            zip_source_buffer(za, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        if (!s) {
            ok = false;
            break;
        }
        const QByteArray zipName = name.toUtf8();
        const zip_int64_t idx = zip_file_add(za, zipName.constData(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (idx < 0) {
            zip_source_free(s);
            ok = false;
            break;
        }
        const QString lower = name.toLower();
        const bool packed = lower.endsWith(u".png") || lower.endsWith(u".jpg") || lower.endsWith(u".jpeg") ||
                            lower.endsWith(u".gif");
        zip_set_file_compression(za, static_cast<zip_uint64_t>(idx), packed ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 0);
    }
    if (!ok || zip_close(za) != 0) {
        zip_discard(za);
        zip_source_free(out);
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear el paquete del documento."));
    }

    QByteArray result;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(out, &st) == 0 && zip_source_open(out) == 0) {
        result.resize(static_cast<qsizetype>(st.size));
        const zip_int64_t got = zip_source_read(out, result.data(), st.size);
        zip_source_close(out);
        if (got < 0 || static_cast<zip_uint64_t>(got) != st.size)
            result.clear();
    }
    zip_source_free(out);
    if (result.isEmpty())
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se puede crear el paquete del documento."));
    return result;
}

Status DocxPackage::writeFile(const QString& path) const {
    auto bytes = toBytes();
    if (!bytes.ok())
        return bytes.error();
    return writeFileAtomically(path, bytes.value());
}

QByteArray DocxPackage::part(const QString& name) const {
    auto it = m_parts.find(name);
    return it == m_parts.end() ? QByteArray() : it->second;
}

QStringList DocxPackage::partNames() const {
    QStringList names;
    for (const auto& [name, bytes] : m_parts)
        names << name;
    return names;
}

QString DocxPackage::resolveTarget(const QString& sourcePart, const QString& target) {
    QString t = target;
    t.replace(u'\\', u'/');
    QStringList segments;
    if (t.startsWith(u'/')) {
        t = t.mid(1);
    } else {
        segments = sourcePart.split(u'/');
        segments.removeLast();
    }
    for (const QString& seg : t.split(u'/')) {
        if (seg.isEmpty() || seg == QLatin1String("."))
            continue;
        if (seg == QLatin1String("..")) {
            if (!segments.isEmpty())
                segments.removeLast();
            continue;
        }
        segments << seg;
    }
    return segments.join(u'/');
}

QString DocxPackage::relsPartOf(const QString& partName) {
    const int slash = partName.lastIndexOf(u'/');
    const QString folder = slash >= 0 ? partName.left(slash + 1) : QString();
    const QString file = slash >= 0 ? partName.mid(slash + 1) : partName;
    return folder + QStringLiteral("_rels/") + file + QStringLiteral(".rels");
}

} // namespace velmora::docengine
