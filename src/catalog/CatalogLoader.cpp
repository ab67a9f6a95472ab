#include "catalog/CatalogLoader.h"

#include "catalog/CatalogColumns.h"
#include "catalog/CatalogDecoder.h"
#include "catalog/CatalogRecordCheck.h"
#include "platform/ProgramTitle.h"
#include "platform/TextHelpers.h"
#include "platform/data/CodePages.h"

#include <QHash>
#include <QVarLengthArray>

#include <cstring>

namespace velmora {
namespace {

ColumnDef text(ColumnName name, int size) {
    return {name.toString(), ColumnType::Text, size};
}

using Field = CatalogLoader::FieldSpec;

Status fillRows(RecordSet& table, const QList<QByteArrayView>& lines, const std::vector<Field>& fields,
                FieldTexts& texts) {
    table.reserve(int(lines.size()));
    std::vector<QString> row(size_t(table.columnCount())); // the columns no field fills stay empty
    for (const QByteArrayView line : lines) {
        for (const Field& f : fields)
            row[size_t(f.column)] = texts.field(line, f.start, f.length);
        VELMORA_TRY(table.addRow(row));
    }
    return {};
}

std::vector<ColumnDef> detailsColumns(bool withDemarcacion) {
    using namespace col::Positions;
    std::vector<ColumnDef> columns = {text(CodConvocatoria, 5), text(NomConvocatoria, 50),
                                      text(Consejeria, 50),     text(Localidad, 53),
                                      text(CodConsejeria, 2),   text(CodLocalidad, 7),
                                      text(CodProvincia, 2),    text(CodArea, 8),
                                      text(CodZona, 8),         text(Area, 50)};
    if (withDemarcacion)
        columns.push_back(text(Demarcacion, 50));
    return columns;
}

const ColumnName kCopiedFromDetails[] = {
    col::Positions::NomConvocatoria, col::Positions::Consejeria,   col::Positions::Localidad,
    col::Positions::CodConsejeria,   col::Positions::CodLocalidad, col::Positions::CodProvincia,
    col::Positions::CodArea,         col::Positions::CodZona,      col::Positions::Area};

} // namespace

QHash<QString, int> firstRowOfEachCode(const RecordSet& table, int column) {
    QHash<QString, int> firstRow;
    const int rows = table.recordCount();
    firstRow.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QString code = table.textAt(row, column).toCaseFolded();
        if (!firstRow.contains(code))
            firstRow.insert(code, row);
    }
    return firstRow;
}

namespace {

quint64 fieldHash(QByteArrayView bytes) {
    quint64 hash = quint64(bytes.size()) * 0x9E3779B97F4A7C15ULL;
    const auto mix = [&hash](quint64 word) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 32;
    };
    qsizetype at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + at, 8);
        mix(word);
    }
    if (at < bytes.size()) {
        quint64 word = 0;
        std::memcpy(&word, bytes.data() + at, size_t(bytes.size() - at));
        mix(word);
    }
    return hash;
}

} // namespace

QString FieldTexts::field(QByteArrayView line, int start, int length) {
    QByteArrayView piece = line.sliced(std::min<qsizetype>(start - 1, line.size()));
    piece = piece.first(std::min<qsizetype>(length, piece.size()));
    while (!piece.isEmpty() && piece.front() == kStoredBlank)
        piece = piece.sliced(1);
    // Fixed columns end in long runs of blanks: eight at a time first.
    constexpr quint64 kEightBlanks = 0x0101010101010101ULL * static_cast<unsigned char>(kStoredBlank);
    for (quint64 tail; piece.size() >= 8; piece.chop(8)) {
        std::memcpy(&tail, piece.data() + piece.size() - 8, 8);
        if (tail != kEightBlanks)
            break;
    }
    while (!piece.isEmpty() && piece.back() == kStoredBlank)
        piece.chop(1);
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = fieldHash(piece) & mask;; slot = (slot + 1) & mask) {
        const qint32 index = m_slots[slot];
        if (index < 0)
            return insert(piece, slot);
        const Text& known = m_known[size_t(index)];
        if (known.keySize == piece.size() &&
            std::memcmp(m_keys.constData() + known.keyAt, piece.data(), size_t(piece.size())) == 0)
            return known.text;
    }
}

const QString& FieldTexts::insert(QByteArrayView bytes, size_t slot) {
    m_slots[slot] = qint32(m_known.size());
    QVarLengthArray<char, 128> plain(bytes.size());
    DecodeStored(bytes, plain.data());
    m_known.push_back(
        Text{m_keys.size(), bytes.size(), codepage::decodeCp1252({plain.data(), plain.size()})});
    m_keys.append(bytes);
    // Kept at most half full, so that a look-up ends within a few slots.
    if (m_known.size() * 2 > m_slots.size()) {
        m_slots.assign(m_slots.size() * 2, -1);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = 0; i < m_known.size(); ++i) {
            size_t at = fieldHash(keyOf(m_known[i])) & mask;
            while (m_slots[at] >= 0)
                at = (at + 1) & mask;
            m_slots[at] = qint32(i);
        }
    }
    return m_known.back().text;
}

CatalogLoader::CatalogLoader(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

Result<std::shared_ptr<const StoredRecords>> CatalogLoader::readRecords(const QString& fileName) {
    if (const auto known = m_smallFiles.constFind(fileName); known != m_smallFiles.constEnd())
        return *known;
    auto read = ReadStoredRecords(m_dataFolder, fileName);
    if (!read) // the decoder's error is told first; the load stops as on a file it cannot open
        return Error::make(ErrorCode::FileAccess, QStringLiteral("Error de acceso a la ruta o el archivo"))
            .after(read.error());
    std::shared_ptr<const StoredRecords> records = std::move(read).value();
    const CatalogRecordCheck check(fileName);
    VELMORA_TRY(check.check(*records));
    if (records->lines.isEmpty())
        m_warnings << QStringLiteral("el catálogo %1 no tiene ningún registro").arg(check.fileDescription());
    // Loading reads the small catalogues more than once (localities three times, areas and
    // zones twice): they are read once. The large ones are read once and not kept.
    constexpr qsizetype kKeptBytes = 1 << 20;
    if (records->bytes.size() <= kKeptBytes)
        m_smallFiles.insert(fileName, records);
    return records;
}

Status CatalogLoader::fillFromFile(RecordSet& table, const QString& fileName,
                                   std::initializer_list<FieldSpec> fields) {
    auto lines = readRecords(fileName);
    if (!lines)
        return lines.error();
    return fillRows(table, (*lines)->lines, std::vector<Field>(fields.begin(), fields.end()), m_texts);
}

Status CatalogLoader::buildBodies(RecordSet& table) {
    VELMORA_TRY(createBodies(table));
    return fillFromFile(table, QStringLiteral("F0004.enc"), {{2, 1, 2}, {0, 3, 5}, {1, 8, 100}});
}

Status CatalogLoader::buildGroups(RecordSet& table) {
    VELMORA_TRY(createGroups(table));
    return fillFromFile(table, QStringLiteral("F0005.enc"), {{0, 1, 2}});
}

Status CatalogLoader::buildLocalities(RecordSet& table) {
    VELMORA_TRY(createLocalities(table));
    auto lines = readRecords(QStringLiteral("F0003.enc"));
    if (!lines)
        return lines.error();
    table.reserve(int((*lines)->lines.size()));
    for (const QByteArrayView line : (*lines)->lines) {
        // The code is the stripped first five characters, padded with "0" to seven.
        const QString row[] = {m_texts.field(line, 1, 5).leftJustified(7, QLatin1Char('0'), true),
                               m_texts.field(line, 6, 60), m_texts.field(line, 1, 2)};
        VELMORA_TRY(table.addRow(row));
    }
    return table.setSort(ascending(col::Localities::Localidad));
}

Status CatalogLoader::buildDepartments(RecordSet& table) {
    VELMORA_TRY(createDepartments(table));
    return fillFromFile(table, QStringLiteral("F0006.enc"), {{0, 1, 2}, {1, 3, 50}, {2, 53, 8}, {3, 61, 2}});
}

Status CatalogLoader::buildSituations(RecordSet& table) {
    VELMORA_TRY(createSituations(table));
    return fillFromFile(table, QStringLiteral("F0015.enc"), {{0, 1, 2}, {2, 3, 1}, {1, 4, 60}});
}

Status CatalogLoader::buildInstitutions(RecordSet& table) {
    VELMORA_TRY(createInstitutions(table));
    return fillFromFile(table, QStringLiteral("F0016.enc"), {{0, 1, 2}, {1, 3, 7}});
}

Status CatalogLoader::buildPositionBody(RecordSet& table) {
    VELMORA_TRY(createPositionBody(table));
    return fillFromFile(table, QStringLiteral("F0008.enc"), {{0, 1, 5}, {1, 8, 5}});
}

Status CatalogLoader::buildPositionGroup(RecordSet& table) {
    VELMORA_TRY(createPositionGroup(table));
    return fillFromFile(table, QStringLiteral("F0007.enc"), {{0, 1, 5}, {1, 6, 2}});
}

Status CatalogLoader::createBodies(RecordSet& table) {
    return createTable(table, {text(col::Bodies::CodCuerpo, 5), text(col::Bodies::DescCuerpo, 100),
                               text(col::Bodies::Grupo, 2)});
}

Status CatalogLoader::createGroups(RecordSet& table) {
    return createTable(table, {text(col::Groups::Grupo, 2)});
}

Status CatalogLoader::createLocalities(RecordSet& table) {
    return createTable(table, {text(col::Localities::CodLocalidad, 7), text(col::Localities::Localidad, 60),
                               text(col::Localities::CodProvincia, 2)});
}

Status CatalogLoader::createDepartments(RecordSet& table) {
    return createTable(table,
                       {text(col::Departments::CodConsejeria, 2), text(col::Departments::Consejeria, 50),
                        text(col::Departments::CodArea, 8), text(col::Departments::CodProvincia, 2)});
}

Status CatalogLoader::createSituations(RecordSet& table) {
    return createTable(table, {text(col::Situations::CodSituacion, 2), text(col::Situations::Situacion, 60),
                               text(col::Situations::esOtras, 1)});
}

Status CatalogLoader::createInstitutions(RecordSet& table) {
    return createTable(
        table, {text(col::Institutions::CodInstitucion, 2), text(col::Institutions::CodLocalidad, 7)});
}

Status CatalogLoader::createPositionBody(RecordSet& table) {
    return createTable(table, {text(col::PositionBody::CodPlaza, 5), text(col::PositionBody::CodCuerpo, 5)});
}

Status CatalogLoader::createPositionGroup(RecordSet& table) {
    return createTable(table, {text(col::PositionGroup::CodPlaza, 5), text(col::PositionGroup::CodGrupo, 2)});
}

Status CatalogLoader::createDetailsTable(RecordSet& table, bool withDemarcacion) {
    return createTable(table, detailsColumns(withDemarcacion));
}

Status CatalogLoader::createProvinces(RecordSet& table) {
    return createTable(table, {text(col::Provinces::CodProvincia, 2), text(col::Provinces::Provincia, 20)});
}

Status CatalogLoader::createAreas(RecordSet& table) {
    return createTable(
        table, {text(col::Areas::CodArea, 8), text(col::Areas::Area, 50), text(col::Areas::CodProvincia, 2)});
}

Status CatalogLoader::createZones(RecordSet& table) {
    return createTable(table, {text(col::Zones::CodZona, 8), text(col::Zones::Zona, 50),
                               text(col::Zones::CodArea, 8), text(col::Zones::CodProvincia, 2),
                               text(col::Zones::CodInstitucion, 2)});
}

Status CatalogLoader::fillProvinces(RecordSet& table, const QString& fileName) {
    return fillFromFile(table, fileName, {{0, 1, 2}, {1, 3, 20}});
}

Status CatalogLoader::fillAreas(RecordSet& table, const QString& fileName) {
    return fillFromFile(table, fileName, {{0, 1, 8}, {1, 9, 50}, {2, 59, 2}});
}

Status CatalogLoader::fillZones(RecordSet& table, const QString& fileName) {
    auto lines = readRecords(fileName);
    if (!lines)
        return lines.error();
    for (const QByteArrayView line : (*lines)->lines) {
        const QString row[] = {m_texts.field(line, 3, 2), OemToAnsi(m_texts.field(line, 5, 50)),
                               m_texts.field(line, 1, 2)};
        VELMORA_TRY(table.addRow(row));
    }
    return {};
}

Status CatalogLoader::fillZoneProvinces(RecordSet& zones, const RecordSet& areas) {
    const int areaCode = areas.columnIndex(col::Areas::CodArea);
    const int areaProvince = areas.columnIndex(col::Areas::CodProvincia);
    QHash<QString, QString> provinceOfArea;
    for (int row = 0; row < areas.recordCount(); ++row)
        provinceOfArea.insert(areas.textAt(row, areaCode), areas.textAt(row, areaProvince));
    const int zoneArea = zones.columnIndex(col::Zones::CodArea);
    const int zoneProvince = zones.columnIndex(col::Zones::CodProvincia);
    for (zones.moveFirst(); !zones.isEOF(); zones.moveNext())
        VELMORA_TRY(zones.setText(zoneProvince, provinceOfArea.value(zones.text(zoneArea))));
    zones.moveFirst();
    return {};
}

Status CatalogLoader::buildVacancyDetails(RecordSet& table, RecordSet& areas) {
    return buildDetails(table, areas, QStringLiteral("F0009.enc"), true);
}

Status CatalogLoader::buildResultasDetails(RecordSet& table, RecordSet& areas) {
    return buildDetails(table, areas, QStringLiteral("F0010.enc"), false);
}

Status CatalogLoader::buildDetails(RecordSet& table, RecordSet& areas, const QString& fileName,
                                   bool withDemarcacion) {
    auto fill = [&]() -> Status {
        VELMORA_TRY(createDetailsTable(table, withDemarcacion));
        auto lines = readRecords(fileName);
        if (!lines)
            return lines.error();
        const std::vector<Field> fields = {{0, 1, 5},   {1, 6, 50},  {2, 56, 50}, {3, 106, 53}, {4, 159, 2},
                                           {5, 161, 7}, {6, 161, 2}, {7, 168, 8}, {8, 176, 8}};
        QHash<QString, QString> areaNames; // null: no such area
        table.reserve(int((*lines)->lines.size()));
        std::vector<QString> row(size_t(table.columnCount()));
        for (const QByteArrayView line : (*lines)->lines) {
            for (const Field& f : fields)
                row[size_t(f.column)] = m_texts.field(line, f.start, f.length);
            // The areas do not change while the details load: each code is looked up once.
            const QString& areaCode = row[7];
            auto known = areaNames.constFind(areaCode);
            if (known == areaNames.constEnd()) {
                VELMORA_TRY(areas.setFilter(Filter::equals(col::Areas::CodArea, areaCode)));
                QString name;
                if (areas.recordCount() >= 1) {
                    areas.moveFirst();
                    name = areas.text(col::Areas::Area);
                }
                areas.clearFilter();
                known = areaNames.insert(areaCode, name);
            }
            row[9] = known->isNull() ? QString() : *known;
            VELMORA_TRY(table.addRow(row));
        }
        return {};
    };
    const Status status = fill();
    if (status)
        return status;
    const Error& cause = status.error();
    Error fatal = Error::told(cause.number, QStringLiteral("error al cargar plazas"), programTitle(),
                              MessageIcon::None);
    // A decoding failure is told as the decoder tells it; a file of broken records is named.
    fatal.toldBefore = cause.toldBefore;
    if (cause.number == CatalogRecordCheck::kCutRecord || cause.number == CatalogRecordCheck::kRepeatedKey)
        fatal.toldBefore.push_back(Error::told(cause.number, cause.description, programTitle()));
    fatal.endsProgram = true;
    return fatal;
}

Status CatalogLoader::createPositionsTable(RecordSet& table) {
    return createDetailsTable(table, false);
}

Status CatalogLoader::buildPositions(const QString& kind, RecordSet& table, RecordSet& source) {
    QString file;
    if (kind == QLatin1String("R"))
        file = QStringLiteral("F0012.enc");
    else if (kind == QLatin1String("V"))
        file = QStringLiteral("F0011.enc");
    else
        return {};
    VELMORA_TRY(createPositionsTable(table));
    auto lines = readRecords(file);
    if (!lines)
        return lines.error();
    int sourceColumns[std::size(kCopiedFromDetails)];
    for (size_t i = 0; i < std::size(kCopiedFromDetails); ++i)
        sourceColumns[i] = source.columnIndex(kCopiedFromDetails[i]);
    // Where a find from the first row of the source would stop for each code.
    const QHash<QString, int> firstRow =
        firstRowOfEachCode(source, source.columnIndex(col::Positions::CodConvocatoria));
    table.reserve(int((*lines)->lines.size()));
    int lastFound = -2; // no find yet
    QString row[1 + std::size(kCopiedFromDetails)];
    for (const QByteArrayView line : (*lines)->lines) {
        row[0] = m_texts.field(line, 1, 5);
        lastFound = firstRow.value(row[0].toCaseFolded(), -1);
        // A code missing from the details keeps only its code.
        for (size_t i = 0; i < std::size(kCopiedFromDetails); ++i)
            row[i + 1] = lastFound >= 0 ? source.textAt(lastFound, sourceColumns[i]) : QString();
        VELMORA_TRY(table.addRow(row));
    }
    // The source's cursor is left where the last find left it.
    if (lastFound != -2)
        source.setAbsolutePosition(lastFound >= 0 ? lastFound : source.recordCount());
    return {};
}

} // namespace velmora
