#include "catalog/CatalogRecordCheck.h"

#include "platform/data/CodePages.h"

#include <QHash>

namespace velmora {

// Names and descriptions, widths and the columns that must be reached, key columns. A
// record's codes and names must be there; fields that may be empty at the end of a record
// (a department's area and province, an area's province, a position's area and zone) may be
// left off with their blanks. Bodies, departments, institutions and the links may repeat a
// code: a body may stand in two groups, a department in two areas.
const CatalogRecordCheck::Layout CatalogRecordCheck::kLayouts[] = {
    {"F0001.enc", "provincias del domicilio", 22, 3, "Provincia", 1, 2},
    {"F0002.enc", "provincias", 22, 3, "Provincia", 1, 2},
    {"F0003.enc", "localidades", 65, 6, "Localidad", 1, 5},
    {"F0004.enc", "cuerpos", 107, 8, "DescCuerpo", 0, 0},
    {"F0005.enc", "grupos", 2, 1, "Grupo", 1, 2},
    {"F0006.enc", "consejerías", 62, 3, "Consejeria", 0, 0},
    {"F0007.enc", "relación plaza-grupo", 7, 6, "CodGrupo", 0, 0},
    {"F0008.enc", "relación plaza-cuerpo", 12, 8, "CodCuerpo", 0, 0},
    {"F0009.enc", "detalle de plazas vacantes", 183, 161, "CodLocalidad", 1, 5},
    {"F0010.enc", "detalle de plazas de resultas", 183, 161, "CodLocalidad", 1, 5},
    {"F0011.enc", "plazas vacantes ofertadas", 5, 1, "CodConvocatoria", 1, 5},
    {"F0012.enc", "plazas de resultas ofertadas", 5, 1, "CodConvocatoria", 1, 5},
    {"F0013.enc", "zonas", 54, 5, "Zona", 1, 4},
    {"F0014.enc", "áreas", 60, 9, "Area", 1, 8},
    {"F0015.enc", "situaciones administrativas", 63, 4, "Situacion", 1, 2},
    {"F0016.enc", "instituciones", 9, 3, "CodLocalidad", 0, 0},
};

CatalogRecordCheck::CatalogRecordCheck(const QString& fileName) : m_fileName(fileName) {
    for (const Layout& layout : kLayouts)
        if (fileName.compare(QLatin1String(layout.file), Qt::CaseInsensitive) == 0)
            m_layout = &layout;
}

QString CatalogRecordCheck::fileDescription() const {
    if (!m_layout)
        return m_fileName;
    return QStringLiteral("%1 (%2)").arg(m_fileName, QString::fromUtf8(m_layout->what));
}

int CatalogRecordCheck::lineOf(const StoredRecords& records, QByteArrayView record) {
    const char* const bytes = records.bytes.constData();
    const qsizetype end = record.data() - bytes;
    int line = 1;
    for (qsizetype i = 0; i < end; ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= end || bytes[i + 1] != '\n')))
            ++line;
    return line;
}

namespace {

// The columns [start, end] of a stored record, without blanks around them.
QByteArrayView storedKey(QByteArrayView record, int start, int end) {
    QByteArrayView key = record.sliced(std::min<qsizetype>(start - 1, record.size()));
    key = key.first(std::min<qsizetype>(end - start + 1, key.size()));
    while (!key.isEmpty() && key.front() == kStoredBlank)
        key = key.sliced(1);
    while (!key.isEmpty() && key.back() == kStoredBlank)
        key.chop(1);
    return key;
}

QString plainText(QByteArrayView stored) {
    QByteArray plain(stored.size(), Qt::Uninitialized);
    DecodeStored(stored, plain.data());
    return codepage::decodeCp1252(plain);
}

} // namespace

Status CatalogRecordCheck::check(const StoredRecords& records) const {
    if (!m_layout || records.lines.isEmpty())
        return {};
    const Layout& layout = *m_layout;
    const QString file = fileDescription();
    // A file cut at any byte ends without its line ending, in the middle of a record. A last
    // line that fills its layout is whole, line ending or not.
    const QByteArrayView last = records.lines.back();
    const char lastByte = records.bytes.back();
    if (lastByte != '\n' && lastByte != '\r' && last.size() < layout.width)
        return Error::make(kCutRecord,
                           QStringLiteral("El catálogo %1 termina a mitad de un registro, en la línea %2 "
                                          "(tiene %3 de sus %4 caracteres): el fichero está cortado.")
                               .arg(file)
                               .arg(lineOf(records, last))
                               .arg(last.size())
                               .arg(layout.width));
    QHash<QByteArrayView, qsizetype> firstWithKey;
    if (layout.keyStart > 0)
        firstWithKey.reserve(records.lines.size());
    for (qsizetype i = 0; i < records.lines.size(); ++i) {
        const QByteArrayView record = records.lines[i];
        if (record.size() < layout.lastRequired)
            return Error::make(kCutRecord,
                               QStringLiteral("El catálogo %1 tiene un registro cortado en la línea %2: "
                                              "acaba en la columna %3 y le falta el campo %4, que empieza "
                                              "en la columna %5.")
                                   .arg(file)
                                   .arg(lineOf(records, record))
                                   .arg(record.size())
                                   .arg(QString::fromLatin1(layout.requiredName))
                                   .arg(layout.lastRequired));
        if (layout.keyStart == 0)
            continue;
        const QByteArrayView key = storedKey(record, layout.keyStart, layout.keyEnd);
        const auto at = firstWithKey.constFind(key);
        if (at == firstWithKey.constEnd()) {
            firstWithKey.insert(key, i);
            continue;
        }
        return Error::make(kRepeatedKey,
                           QStringLiteral("El catálogo %1 repite en la línea %2 el código «%3» de la "
                                          "línea %4.")
                               .arg(file)
                               .arg(lineOf(records, record))
                               .arg(plainText(key))
                               .arg(lineOf(records, records.lines[*at])));
    }
    return {};
}

} // namespace velmora
