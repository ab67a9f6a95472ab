#pragma once

#include "catalog/CatalogDecoder.h"
#include "platform/data/RecordSet.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace velmora {

// The field texts of a load, each distinct text decoded once: catalogues repeat names,
// localities and codes row after row, and equal fields then share one copy of their text,
// which is most of what the tables would otherwise hold.
class FieldTexts {
public:
    // Bytes [start, start + length) of a stored (still shifted) Windows-1252 line, 1-based,
    // decoded, without leading or trailing blanks; what lies beyond the line's end is simply
    // not there. Texts are told apart by their stored bytes, so only new ones are decoded.
    QString field(QByteArrayView storedLine, int start, int length);

private:
    struct Text {
        qsizetype keyAt; // the stored bytes, in m_keys
        qsizetype keySize;
        QString text;
    };
    QByteArrayView keyOf(const Text& known) const {
        return QByteArrayView(m_keys).sliced(known.keyAt, known.keySize);
    }
    const QString& insert(QByteArrayView bytes, size_t slot);

    // An open-addressing table of indexes into m_known, hashed a word at a time: fields are
    // short, and the general-purpose hash was a third of the time spent on them. The stored
    // bytes of all texts lie one after another in m_keys.
    std::vector<Text> m_known;
    QByteArray m_keys;
    std::vector<qint32> m_slots = std::vector<qint32>(1024, -1); // -1: empty; a power of two long
};

// Builds the catalogue tables from the scrambled files of the data folder. Each file is
// decoded in memory just before it is parsed; fields are fixed columns, stripped of blanks. Builders create,
// open and fill a table; the create/fill pairs let the loading sequence call the two halves apart, as it does
// for areas, zones and provinces.
class CatalogLoader {
public:
    // A fixed-column field: the table column it fills, 1-based start and length.
    struct FieldSpec {
        int column;
        int start;
        int length;
    };

    explicit CatalogLoader(QString dataFolder);

    const QString& dataFolder() const { return m_dataFolder; }

    Status buildBodies(RecordSet& table);        // F0004
    Status buildGroups(RecordSet& table);        // F0005
    Status buildLocalities(RecordSet& table);    // F0003, seen in order of locality name
    Status buildDepartments(RecordSet& table);   // F0006
    Status buildSituations(RecordSet& table);    // F0015
    Status buildInstitutions(RecordSet& table);  // F0016
    Status buildPositionBody(RecordSet& table);  // F0008
    Status buildPositionGroup(RecordSet& table); // F0007

    // The empty tables, columns only: the one place each table's columns are declared.
    static Status createBodies(RecordSet& table);
    static Status createGroups(RecordSet& table);
    static Status createProvinces(RecordSet& table);
    static Status createLocalities(RecordSet& table);
    static Status createDepartments(RecordSet& table);
    static Status createAreas(RecordSet& table);
    static Status createZones(RecordSet& table);
    static Status createSituations(RecordSet& table);
    static Status createInstitutions(RecordSet& table);
    static Status createPositionBody(RecordSet& table);
    static Status createPositionGroup(RecordSet& table);
    static Status createDetailsTable(RecordSet& table, bool withDemarcacion);
    Status fillProvinces(RecordSet& table, const QString& fileName); // F0001 or F0002
    Status fillAreas(RecordSet& table, const QString& fileName);     // F0014
    Status fillZones(RecordSet& table, const QString& fileName);     // F0013, names from code page 850
    // Gives every zone the province of its area, so a province can narrow the zones; a zone
    // whose area is not listed keeps an empty province. Runs once both tables are filled.
    static Status fillZoneProvinces(RecordSet& zones, const RecordSet& areas);

    // Vacancy (F0009, with a Demarcacion column) or resultas (F0010) position details,
    // with each row's area name looked up in `areas`. A failure here ends the program: it is
    // told as "error al cargar plazas", after what went wrong (a file of broken records, in
    // its own words).
    Status buildVacancyDetails(RecordSet& table, RecordSet& areas);
    Status buildResultasDetails(RecordSet& table, RecordSet& areas);

    // The positions offered: kind "V" from F0011 over the vacancy details, "R" from F0012
    // over the resultas details; any other kind does nothing. A code missing from the
    // details stays in the table holding only its code.
    Status buildPositions(const QString& kind, RecordSet& table, RecordSet& source);

    static Status createPositionsTable(RecordSet& table);

    // What the contest office should hear of the files read so far though they loaded: a
    // catalogue with no record at all.
    const QStringList& warnings() const { return m_warnings; }

private:
    // The stored lines of catalogue `fileName`, each checked to decode, the file checked to
    // hold whole records (CatalogRecordCheck). A file that cannot be read or decoded is a
    // FileAccess error told after the decoder's own.
    Result<std::shared_ptr<const StoredRecords>> readRecords(const QString& fileName);
    Status fillFromFile(RecordSet& table, const QString& fileName, std::initializer_list<FieldSpec> fields);
    Status buildDetails(RecordSet& table, RecordSet& areas, const QString& file, bool withDemarcacion);

    QString m_dataFolder;
    FieldTexts m_texts;
    QHash<QString, std::shared_ptr<const StoredRecords>> m_smallFiles;
    QStringList m_warnings;
};

// Where each code of `column` first stands in `table`'s view, keyed case-folded: where a find
// of "column='code'" from the first row stops, since criteria compare texts without case.
QHash<QString, int> firstRowOfEachCode(const RecordSet& table, int column);

} // namespace velmora
