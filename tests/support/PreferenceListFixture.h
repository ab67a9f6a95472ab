#pragma once

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "editor/ApplicationListTables.h"
#include "platform/data/RecordSet.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

#include <QSet>

namespace velmora::test {

// A preference list, its candidates and the area and zone catalogues the rows name.
struct PreferenceTables {
    RecordSet list;
    RecordSet candidates;
    RecordSet areas;
    RecordSet zones;

    PreferenceTables() {
        EXPECT_TRUE(createVacancyList(list));
        EXPECT_TRUE(createCandidatePositions(candidates));
        EXPECT_TRUE(CatalogLoader::createAreas(areas));
        EXPECT_TRUE(CatalogLoader::createZones(zones));
    }

    // Candidates are shown by position code; a sort takes in the rows there are when set.
    void sortCandidates() { ASSERT_TRUE(candidates.setSort(u"CodConvocatoria"_s)); }

    void addCandidate(const QString& code, const QString& areaCode = QString(),
                      const QString& zoneCode = QString()) {
        addRows(candidates,
                {"CodConvocatoria", "NomConvocatoria", "Consejeria", "Localidad", "CodArea", "CodZona"},
                {{code, u"Puesto "_s + code, "Hospital", u"Localidad "_s + code, areaCode, zoneCode}});
    }

    // A row as a saved application brings it back: id, order and code only.
    void addListed(qint64 id, int order, const QString& code) {
        addRows(list, {"IdSolicitud", "Orden", "CodConvocatoria"}, {{id, order, code}});
    }

    // Codes "1" .. "n" at orders 1 .. n, ids 0 .. n-1.
    void listCodes(int n) {
        for (int i = 1; i <= n; ++i)
            addListed(i - 1, i, QString::number(i));
    }
};

// The list's position codes in ascending `Orden`, whatever the cursor's own sort.
inline QStringList codesByOrder(const RecordSet& list) {
    auto copy = list.clone();
    EXPECT_TRUE(copy->setSort(u"Orden ASC"_s));
    QStringList codes;
    for (int i = 0; i < copy->recordCount(); ++i)
        codes << copy->textAt(i, copy->columnIndex(u"CodConvocatoria"));
    return codes;
}

// A column of the row with a position code.
inline QString listedText(const RecordSet& list, const QString& code, QStringView column) {
    auto copy = list.clone();
    EXPECT_TRUE(copy->find(u"CodConvocatoria='%1'"_s.arg(code)));
    return copy->isEOF() ? u"<no listado>"_s : copy->text(column);
}

// Several of those at once, each named "code:column".
inline QStringList listedTexts(const RecordSet& list, const QStringList& codeColumns) {
    QStringList texts;
    for (const QString& codeColumn : codeColumns)
        texts << listedText(list, codeColumn.section(u':', 0, 0), codeColumn.section(u':', 1));
    return texts;
}

// Orders exactly 1..n, no code or id twice, and the cursor shows the rows by order.
inline ::testing::AssertionResult isWellKept(const RecordSet& list) {
    const int order = list.columnIndex(u"Orden");
    const int code = list.columnIndex(u"CodConvocatoria");
    const int id = list.columnIndex(u"IdSolicitud");
    QSet<QString> codes;
    QSet<qint64> ids;
    for (int i = 0; i < list.recordCount(); ++i) {
        if (list.valueAt(i, order).toLongLong() != i + 1)
            return ::testing::AssertionFailure()
                   << "row " << i << " shows order " << list.valueAt(i, order).toLongLong();
        const QString key = list.textAt(i, code).toCaseFolded();
        const qint64 rowId = list.valueAt(i, id).toLongLong();
        if (codes.contains(key) || ids.contains(rowId))
            return ::testing::AssertionFailure() << "code or id twice at row " << i;
        codes.insert(key);
        ids.insert(rowId);
    }
    return ::testing::AssertionSuccess();
}

} // namespace velmora::test
