#pragma once

#include "catalog/CatalogDecoder.h"
#include "platform/Result.h"

#include <QString>

namespace velmora {

// Checks that the records of a catalogue file came whole. Writers may leave off a record's
// trailing blanks, so a record may end before the last column of its layout, but never
// before a field that must hold a value: such a record, a last line that stops short of its
// layout without a line ending (the file was cut), and two records with the same key (the
// second would never be found) are errors naming the file and its line. A file the check
// knows nothing of passes.
class CatalogRecordCheck {
public:
    // The numbers of its errors: input past the end of a record, a key found twice.
    static constexpr int kCutRecord = 62;
    static constexpr int kRepeatedKey = 3022;

    explicit CatalogRecordCheck(const QString& fileName);

    Status check(const StoredRecords& records) const;

    // What the file holds, in words for the contest office ("F0011.enc (plazas vacantes
    // ofertadas)").
    QString fileDescription() const;

    // The line of the file (1-based, empty lines counted) on which `record` starts.
    static int lineOf(const StoredRecords& records, QByteArrayView record);

private:
    struct Layout {
        const char* file;
        const char* what;
        int width;                // the column the layout's last field ends at
        int lastRequired;         // the column the last field that must hold a value starts at
        const char* requiredName; // that field
        int keyStart;             // the columns that tell records apart; 0: records may repeat
        int keyEnd;
    };
    static const Layout kLayouts[];

    QString m_fileName;
    const Layout* m_layout = nullptr;
};

} // namespace velmora
