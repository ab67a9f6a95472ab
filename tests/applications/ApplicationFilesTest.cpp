#include "applications/ApplicationFiles.h"

#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace velmora {
namespace {

using test::FakeMessageService;
using test::TempDir;

TEST(ApplicationFileName, IsAlwaysTwentyOneCharactersByPosition) {
    FakeMessageService messages;
    EXPECT_EQ(applicationFileName("123", "1234", "A", messages), "000000123__12340A.doc");
    EXPECT_EQ(applicationFileName("12345678Z", "12345", "C1", messages), "12345678Z_12345C1.doc");
    // Longer inputs are cut to their places rather than pushing the others along.
    EXPECT_EQ(applicationFileName("12345678ZZZ", "1234567", "ABC", messages), "12345678Z_12345AB.doc");
    EXPECT_EQ(applicationFileName("", "", "", messages), "000000000______00.doc");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(sidecarFileName("000000123__12340A.doc"), "000000123__12340A.xml");
    EXPECT_EQ(sidecarFileName("000000123__12340A.DOC"), "000000123__12340A.xml");
}

struct Bodies {
    RecordSet table;
    Bodies() {
        EXPECT_TRUE(createTable(table, {{"CodCuerpo", ColumnType::Text, 5},
                                        {"DescCuerpo", ColumnType::Text, 100},
                                        {"Grupo", ColumnType::Text, 2}})
                        .ok());
        add("12345", "Enfermero/a", "B");
        add("X0001", "Facultativo especialista", "X");
        add("1234", "Código corto", "C");
        // The editor keeps this filter on the bodies table; the listing must still see every body.
        EXPECT_TRUE(table.setFilter("Grupo <> 'X'").ok());
        table.moveLast();
    }
    void add(const QString& code, const QString& desc, const QString& group) {
        EXPECT_TRUE(table.addNew().ok());
        EXPECT_TRUE(table.setValue(u"CodCuerpo", code).ok());
        EXPECT_TRUE(table.setValue(u"DescCuerpo", desc).ok());
        EXPECT_TRUE(table.setValue(u"Grupo", group).ok());
    }
};

TEST(ListApplications, ListsOnlyTheUsersDocumentsWithTheirBodyDescription) {
    TempDir dir;
    dir.write("12345678Z_12345B1.doc", "d");
    dir.write("12345678Z_X0001A1.DOC", "d");  // upper-case extension
    dir.write("12345678Z__1234C1.doc", "d");  // short code: "_" stays in Cuerpo, not in the look-up
    dir.write("12345678Z_99999C1.doc", "d");  // body no longer in the catalogue
    dir.write("12345678Z_12345B1.xml", "x");  // sidecar, not listed
    dir.write("87654321X_12345B1.doc", "d");  // another applicant
    dir.write("12345678Z_12345B1x.doc", "d"); // 22 characters
    dir.write("12345678Z_12345B.doc", "d");   // 20 characters
    dir.write("12345678z_12345B1.doc", "d");  // DNI compared exactly

    Bodies bodies;
    const QString filterBefore = bodies.table.filter();
    RecordSet table;
    const Result<int> count = listApplications(dir.path(), "12345678Z", bodies.table, table);
    ASSERT_TRUE(count.ok());
    EXPECT_EQ(*count, 4);
    EXPECT_EQ(table.columnNames(), (QStringList{"Fichero", "DNI", "Cuerpo", "DescCuerpo", "Grupo"}));

    QStringList rows;
    for (table.moveFirst(); !table.isEOF(); table.moveNext())
        rows << QStringList{table.text(u"Fichero"), table.text(u"DNI"), table.text(u"Cuerpo"),
                            table.text(u"DescCuerpo"), table.text(u"Grupo")}
                    .join('|');
    EXPECT_EQ(rows, (QStringList{"12345678Z_12345B1.doc|12345678Z|12345|Enfermero/a|B1",
                                 "12345678Z_99999C1.doc|12345678Z|99999||C1",
                                 "12345678Z__1234C1.doc|12345678Z|_1234|Código corto|C1",
                                 "12345678Z_X0001A1.DOC|12345678Z|X0001|Facultativo especialista|A1"}));
    // The caller's cursor on the bodies table is untouched.
    EXPECT_EQ(bodies.table.filter(), filterBefore);
    EXPECT_EQ(bodies.table.text(u"CodCuerpo"), "1234");

    // A second listing starts from scratch.
    ASSERT_TRUE(QFile::remove(dir.file("12345678Z_12345B1.doc")));
    const Result<int> again = listApplications(dir.path(), "12345678Z", bodies.table, table);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, 3);
    EXPECT_EQ(table.recordCount(), 3);
    // A missing folder lists nothing.
    EXPECT_EQ(listApplications(dir.file("nada"), "12345678Z", bodies.table, table).value(), 0);
    EXPECT_TRUE(table.isOpen());
}

TEST(DeleteApplication, RemovesDocumentAndSidecarIgnoresWhatIsMissingAndTellsWhatStays) {
    TempDir dir;
    dir.write("12345678Z_12345B1.doc", "d");
    dir.write("12345678Z_12345B1.xml", "x");
    dir.write("12345678Z_12345C1.doc", "d"); // no sidecar
    dir.write("otro.txt", "t");
    EXPECT_TRUE(deleteApplication(dir.path(), "12345678Z_12345B1.doc").ok());
    EXPECT_TRUE(deleteApplication(dir.path(), "12345678Z_12345C1.doc").ok());
    EXPECT_TRUE(deleteApplication(dir.path(), "no-existe.doc").ok());
    EXPECT_FALSE(deleteApplication(dir.path(), "../otro.txt").ok());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"otro.txt"});

    // A sidecar that cannot go (a folder stands at its name) is named; the document goes.
    dir.write("12345678Z_12345D1.doc", "d");
    dir.write("12345678Z_12345D1.xml/dentro.txt", "x");
    const Status deleted = deleteApplication(dir.path(), "12345678Z_12345D1.doc");
    ASSERT_FALSE(deleted.ok());
    EXPECT_TRUE(deleted.error().description.startsWith(
        "No se ha podido borrar " + QDir::toNativeSeparators(dir.file("12345678Z_12345D1.xml"))));
    EXPECT_FALSE(QFileInfo::exists(dir.file("12345678Z_12345D1.doc")));
}

TEST(ApplicationFileExists, MatchesTheNameWithoutRegardToCase) {
    TempDir dir;
    dir.write("12345678Z_12345B1.DOC", "d");
    EXPECT_TRUE(applicationFileExists(dir.path(), "12345678Z_12345B1.doc"));
    EXPECT_FALSE(applicationFileExists(dir.path(), "12345678Z_12345B2.doc"));
    EXPECT_FALSE(applicationFileExists(dir.path(), ""));
    EXPECT_FALSE(applicationFileExists(dir.file("nada"), "12345678Z_12345B1.doc"));
}

} // namespace
} // namespace velmora
