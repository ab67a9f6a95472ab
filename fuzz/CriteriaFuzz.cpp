// The criteria parser, and filtering and finding with what it accepts.

#include "FuzzSupport.h"

#include "platform/data/Criteria.h"
#include "platform/data/RecordSet.h"

using namespace velmora;

namespace {

RecordSet& sampleRows() {
    static RecordSet rows = [] {
        RecordSet rs;
        (void)createTable(rs, {{"Orden", ColumnType::Integer, 8},
                               {"CodArea", ColumnType::Text, 8},
                               {"Localidad", ColumnType::Text, 50}});
        const char* places[] = {"Logroño", "Ávila", "", "O'Donnell"};
        for (int i = 0; i < 4; ++i) {
            (void)rs.addNew();
            (void)rs.setValue(u"Orden", i);
            (void)rs.setValue(u"CodArea", QStringLiteral("0%1").arg(i));
            (void)rs.setValue(u"Localidad", QString::fromUtf8(places[i]));
            (void)rs.update();
        }
        return rs;
    }();
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    RecordSet& rows = sampleRows();
    (void)parseCriteria(text, [&rows](QStringView name) { return rows.columnIndex(name); });
    if (rows.setFilter(text).ok()) {
        for (rows.moveFirst(); !rows.isEOF(); rows.moveNext())
            (void)rows.text(0);
        rows.clearFilter();
    }
    rows.moveFirst();
    (void)rows.find(text);
    return 0;
}
