#include "catalog/CatalogLoader.h"
#include "catalog/CatalogDecoder.h"

#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"
#include "support/TableText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray cp1252(const QString& text) {
    return text.toLatin1();
}

// A sample contest whose catalogues a test replaces before reading them.
struct CatalogLoaderTest : ::testing::Test {
    ContestFixture contest;
    CatalogLoader loader{contest.folders().data};
};

} // namespace

TEST_F(CatalogLoaderTest, LocalitiesAreBuiltWithSevenCharacterCodes) {
    contest.replaceCatalogue("F0003.enc", {cp1252("12345Zamora"), cp1252("  7  Ávila"),
                                           cp1252("45001Ocaña del Monte"), cp1252("02003almansa")});
    RecordSet localities;
    ASSERT_TRUE(loader.buildLocalities(localities));
    EXPECT_EQ(localities.sort(), u"Localidad ASC"_s);
    EXPECT_EQ(rowsOf(localities), QStringList({"0200300|almansa|02", "7000000|Ávila|",
                                               "4500100|Ocaña del Monte|45", "1234500|Zamora|12"}));
    // Decoded in memory: loading writes nothing into the data folder.
    EXPECT_FALSE(QFile::exists(contest.dataFile("temp.tmp")));
}

// Records may lack their trailing blanks, even whole fields that may be empty, but not a
// field that must hold a value: that record was cut.
TEST_F(CatalogLoaderTest, RecordsAreReadByFixedColumns) {
    contest.replaceCatalogue("F0004.enc", {cp1252("A110001Enfermero/a de Área"), cp1252("C1  123Celador/a")});
    contest.replaceCatalogue("F0006.enc", {cp1252("07Hospital General")});
    RecordSet bodies, departments, situations;
    ASSERT_TRUE(loader.buildBodies(bodies));
    EXPECT_EQ(rowsOf(bodies), QStringList({"10001|Enfermero/a de Área|A1", "123|Celador/a|C1"}));
    ASSERT_TRUE(loader.buildDepartments(departments));
    EXPECT_EQ(rowsOf(departments), QStringList({"07|Hospital General||"}));

    contest.replaceCatalogue("F0015.enc", {cp1252("011Otras situaciones"), cp1252("02")});
    const Status cut = loader.buildSituations(situations);
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.error().description,
              u"El catálogo F0015.enc (situaciones administrativas) tiene un registro cortado en la línea 2: "
              u"acaba en la columna 2 y le falta el campo Situacion, que empieza en la columna 4."_s);
    EXPECT_FALSE(cut.error().endsProgram) << "the loading sequence says which step it stopped";
}

TEST_F(CatalogLoaderTest, ZoneNamesAreConvertedFromTheConsoleCodePage) {
    contest.replaceCatalogue("F0013.enc", {QByteArray("0102Zona B\xA0sica de Pe\xA4\x61s  ")});
    RecordSet zones;
    ASSERT_TRUE(CatalogLoader::createZones(zones));
    QString file = u"F0013.enc"_s;
    ASSERT_TRUE(loader.fillZones(zones, file));
    EXPECT_EQ(file, u"F0013.enc"_s) << "the file name given is left as it is";
    EXPECT_EQ(rowsOf(zones), QStringList({"02|Zona Básica de Peñas|01||"}));
}

TEST_F(CatalogLoaderTest, PositionDetailsCarryTheirAreaWithTextsWhole) {
    auto detail = [](const QString& code, const QString& locality, const QString& area) {
        return cp1252(code.leftJustified(5) + u"Enfermero/a - Urgencias"_s.leftJustified(50) +
                      u"Hospital General"_s.leftJustified(50) + locality.leftJustified(53) + "07" +
                      "4500100" + area.leftJustified(8) + "03");
    };
    const QString longLocality = u"Villanueva de los Infantes y Pedanías del Término Mun"_s; // 53
    ASSERT_EQ(longLocality.size(), 53);
    contest.replaceCatalogue("F0009.enc",
                             {detail("10001", longLocality, "01"), detail("10002", "Toledo", "77")});
    contest.replaceCatalogue("F0014.enc",
                             {cp1252(u"01      Área de Salud de Toledo"_s.leftJustified(58) + "45")});
    RecordSet areas, details;
    ASSERT_TRUE(CatalogLoader::createAreas(areas));
    QString file = u"F0014.enc"_s;
    ASSERT_TRUE(loader.fillAreas(areas, file));
    ASSERT_TRUE(loader.buildVacancyDetails(details, areas));
    EXPECT_EQ(rowsOf(details),
              QStringList({"10001|Enfermero/a - Urgencias|Hospital General|" + longLocality +
                               "|07|4500100|45|01|03|Área de Salud de Toledo|",
                           "10002|Enfermero/a - Urgencias|Hospital General|Toledo|07|4500100|45|77|03||"}));
    EXPECT_TRUE(areas.filter().isEmpty()) << "the area look-up leaves the areas unfiltered";

    // The vacancies offered copy the details; a code the details lack keeps only its code.
    contest.replaceCatalogue("F0011.enc", {cp1252("10002"), cp1252("99999"), cp1252("10001")});
    RecordSet offered;
    ASSERT_TRUE(loader.buildPositions(u"V"_s, offered, details));
    EXPECT_EQ(rowsOf(offered),
              QStringList({"10002|Enfermero/a - Urgencias|Hospital General|Toledo|07|4500100|45|77|03|",
                           "99999|||||||||",
                           "10001|Enfermero/a - Urgencias|Hospital General|" + longLocality +
                               "|07|4500100|45|01|03|Área de Salud de Toledo"}));
    RecordSet untouched;
    EXPECT_TRUE(loader.buildPositions(u"Q"_s, untouched, details));
    EXPECT_FALSE(untouched.isOpen()) << "an unknown kind builds nothing";
}

TEST_F(CatalogLoaderTest, BrokenDetailsAreFatalWithTheirOwnMessage) {
    contest.removeCatalogue("F0010.enc");
    RecordSet areas, details;
    ASSERT_TRUE(CatalogLoader::createAreas(areas));
    const Status status = loader.buildResultasDetails(details, areas);
    ASSERT_FALSE(status);
    EXPECT_TRUE(status.error().endsProgram);
    FakeMessageService messages;
    messages.tell(status.error());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"Se ha producido el siguiente error"_s));
    EXPECT_EQ(messages.messages[1], (test::FakeMessageService::Message{u"error al cargar plazas"_s,
                                                                       programTitle(), MessageIcon::None}));
}

TEST(ZoneProvinces, EachZoneTakesTheProvinceOfItsArea) {
    RecordSet areas, zones;
    ASSERT_TRUE(CatalogLoader::createAreas(areas));
    ASSERT_TRUE(CatalogLoader::createZones(zones));
    for (const auto& [area, province] : {std::pair{"01", "04"}, std::pair{"02", "18"}})
        ASSERT_TRUE(areas.addNew() && areas.setValue(u"CodArea", area) &&
                    areas.setValue(u"CodProvincia", province));
    for (const char* area : {"02", "01", "99"})
        ASSERT_TRUE(zones.addNew() && zones.setValue(u"CodArea", area) && zones.setValue(u"CodZona", "01"));
    ASSERT_TRUE(CatalogLoader::fillZoneProvinces(zones, areas));
    EXPECT_EQ(test::rowsOf(zones), QStringList({"01||02|18|", "01||01|04|", "01||99||"}));
    // The province now narrows the zones through the index like any other code.
    ASSERT_TRUE(zones.setFilter("CodProvincia='18' "));
    EXPECT_EQ(zones.recordCount(), 1);
}

TEST(CatalogDecoder, LinesShiftByTheOffsetReversibly) {
    QByteArray all;
    for (int b = 3; b < 256; ++b)
        all += char(b);
    const auto decoded = DecodeLine(all, kDecodingOffset);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(static_cast<unsigned char>(decoded->at(0)), 0);
    EXPECT_EQ(static_cast<unsigned char>(decoded->back()), 252);
    const auto encoded = EncodeLine(*decoded);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, all);
    EXPECT_EQ(*DecodeLine("", kDecodingOffset), QByteArray());
    EXPECT_EQ(*DecodeLine("KROD", kDecodingOffset), QByteArray("HOLA"));
}

TEST(CatalogDecoder, CodesThatLeaveTheByteRangeAreErrors) {
    EXPECT_FALSE(DecodeLine(QByteArray("ab\x02", 3), kDecodingOffset));
    EXPECT_FALSE(DecodeLine(QByteArray("\xFE"), 3));
    EXPECT_FALSE(EncodeLine(QByteArray("\xFD")));
}

TEST(CatalogDecoder, FilesDecodeLineByLineSkippingEmptyOnes) {
    TempDir dir;
    // CR LF, a lone LF, empty lines, and a last line without its ending; "\x10" decodes to a
    // carriage return, which ends a line of the plain text too (twice at the end: an empty one).
    dir.write("F0005.enc", QByteArray("D4\r\n\r\n\r\nF4\nX5\r\n\r\nH4\x10I\x10\x10\r\nH4"));
    dir.write("F0002.enc", QByteArray("\r\n\r\n"));
    dir.write("F0001.enc", QByteArray("D4\r\nF4\r\nGGGGGGGGGGG\x01GG\r\nH4\r\n"));
    const QByteArray plain = DecodeToMemory(dir.path(), "F0005.enc").value();
    EXPECT_EQ(plain, QByteArray("A1\r\nC1\r\nU2\r\nE1\rF\r\r\r\nE1\r\n"));
    EXPECT_EQ(DecodeToMemory(dir.path(), "F0002.enc").value(), QByteArray());
    // Loading reads the records as stored and decodes only their fields: the same lines.
    const auto stored = ReadStoredRecords(dir.path(), "F0005.enc").value();
    QList<QByteArray> records;
    for (const QByteArrayView line : stored->lines) {
        records.append(QByteArray(line.size(), Qt::Uninitialized));
        DecodeStored(line, records.back().data());
    }
    QList<QByteArray> plainLines;
    for (const QByteArrayView line : splitLines(plain))
        plainLines.append(line.toByteArray());
    EXPECT_EQ(records, plainLines);
    EXPECT_TRUE(ReadStoredRecords(dir.path(), "F0002.enc").value()->lines.isEmpty());

    // A missing file, and a character that cannot be shifted, are shown.
    const auto missing = DecodeToMemory(dir.path(), "F0015.enc");
    const auto unshifted = DecodeToMemory(dir.path(), "F0001.enc");
    const auto unshiftedStored = ReadStoredRecords(dir.path(), "F0001.enc");
    ASSERT_FALSE(missing.ok() || unshifted.ok() || unshiftedStored.ok());
    EXPECT_EQ(missing.error().number, ErrorCode::FileNotFound);
    EXPECT_EQ(unshifted.error().number, ErrorCode::InvalidProcedureCall);
    EXPECT_EQ(unshiftedStored.error().description, unshifted.error().description);
    EXPECT_FALSE(missing.error().telling || unshifted.error().telling) << "told as numbered errors";
}
